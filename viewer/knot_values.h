#pragma once
// The values of one result quantity at the knots, for isolines and zone fills.
//
// Displacements and slopes come straight from the solution vector (key "no
// material", one value per knot of a shell). Layer stresses are averaged at a knot
// only over the shells that meet there and whose chosen layer has the same
// material: a knot keeps one value per such material, so no average crosses a
// material boundary. Knots of no shell carry no value.
//
// The values live in the knots' value lists (TResultKnot::Values), which the
// isoline drawing reads. What they were prepared for is a TKnotValuesKey (quantity,
// layer, fibre): a change of layer or fibre is a different key, so stale values of
// another layer are never shown as the current ones.
//
// The nodal thickness averages of the section views are kept apart, in a
// TKnotThicknessStore, so that drawing a section never evicts the isoline values.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/result_objects.h"
#include "model/project.h"
#include "platform/extended.h"
#include "platform/services.h"
#include "viewer/view_codes.h"

namespace tavir {

// DataState codes: 0 nothing prepared, 1..8 by quantity, 9 section thickness.
inline constexpr std::uint8_t kDataNone = 0;
inline constexpr std::uint8_t kDataSectionThickness = 9;

bool IsStressKind(ResultKind kind);
bool IsFreedomKind(ResultKind kind);
// Degree of freedom of a displacement or slope quantity; -1 for the others.
int FreedomOfKind(ResultKind kind);
// The DataState of a quantity (1..8); 0 for kind 8 and above.
std::uint8_t DataStateOfKind(ResultKind kind);

// Caption of the quantity in the progress box and in a view's status bar; empty
// for kind 8 and above.
std::string ProgressCaption(ResultKind kind);
std::string StatusCaption(ResultKind kind);

inline constexpr const char* kPrepareKnotsLabel = "Подготовка узлов для отрисовки изолиний";
inline constexpr const char* kPrepareDataLabel = "Подготовка данных для отрисовки изолиний";

// What a set of knot values was prepared for. Displacements and slopes do not
// depend on a layer or fibre: their key carries layer -1 and fibre 0.
struct TKnotValuesKey {
  ResultKind Kind = ResultKind::None;
  std::int32_t Layer = -1;
  tavir::Fibre Fibre = tavir::Fibre::Upper;
  bool operator==(const TKnotValuesKey&) const = default;
};
TKnotValuesKey MakeKnotValuesKey(ResultKind kind, std::int32_t layer, Fibre fibre);

// The result knot of a list item (nullptr for an item of another class).
TResultKnot* AsResultKnot(TEditorKnot* knot);
const TResultKnot* AsResultKnot(const TEditorKnot* knot);
TMLResultShell* AsResultShell(TMLEditorElement* element);
const TMLResultShell* AsResultShell(const TMLEditorElement* element);

// Empties every knot's values, then adds on every knot of every shell the key of
// the shell's layer `layer` (LayerMaterial; "none" for -1 or out of range). The
// progress bar runs over the elements.
void PrepareKnotKeys(TFinKnots& knots, const TFinElements& elements, std::int32_t layer,
                     ProgressObserver* progress = nullptr);

// The mean over the shells that contain the knot and whose layer `layer` has the
// material `key`, of component kind - 3 of that layer's stress at the fibre; 0 when
// no shell qualifies or for a kind that is not a stress. Linear in the elements.
Extended KnotStressAverage(const TEditorKnot& knot, TMaterialKey key, Fibre fibre, ResultKind kind,
                           std::int32_t layer, const TFinElements& elements);

// Keys, then values of the quantity at every knot. Nothing (false) when the vector
// is empty (no solve yet) or the kind is 8 or above. knot i reads equation
// Number × 5 + freedom; a knot whose equation lies outside the vector gets 0.
// Stresses of a shell that has none computed (or a fibre out of range) count as
// not qualifying.
bool PrepareKnotValues(TFinKnots& knots, const TFinElements& elements, const std::vector<Extended>& loadVector,
                       ResultKind kind, std::int32_t layer, Fibre fibre,
                       ProgressObserver* progress = nullptr);

struct TValueRange {
  Extended Min = 0;
  Extended Max = 0;
};
// Smallest and largest entry over every knot's values; (1E4096, -1E4000) when no
// knot has one.
TValueRange KnotValueRange(const TFinKnots& knots);
// The range of a displacement or slope quantity over all knots, read from the
// vector and compared in double precision; (0, 0) without knots.
TValueRange FreedomValueRange(const TFinKnots& knots, const std::vector<Extended>& loadVector, int freedom);

// The largest layer count over the shells (0 without shells).
std::int32_t MaxLayerCount(const TFinElements& elements);

// The mean Thickness of the shells at each knot of a shell, for the section views.
class TKnotThicknessStore {
 public:
  bool Ready() const { return ready_; }
  void Clear();
  // Rebuilds the averages (one progress step per knot).
  void Build(const TFinKnots& knots, const TFinElements& elements, ProgressObserver* progress = nullptr);
  bool Has(const TEditorKnot* knot) const { return values_.count(knot) != 0; }
  // 0 for a knot of no shell.
  Extended At(const TEditorKnot* knot) const;

 private:
  bool ready_ = false;
  std::unordered_map<const TEditorKnot*, Extended> values_;
};

}  // namespace tavir

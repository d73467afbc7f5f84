#pragma once
// The knot values the result views draw, prepared on demand from the results of
// the analysis run: the values of the isoline quantity with what they were
// prepared for, the key the isoline levels were defaulted for (the user's edits
// of the levels stay while it holds), and the nodal thickness averages of the
// section views with the box of a new section view.
//
// A repaint prepares only what is missing: values already prepared for the
// quantity, layer and fibre shown are drawn as they are. What is shown (the
// display state) is the project's; the preparation reads it and sets the levels,
// the visibility and the isoline draw flag.
#include <cstdint>
#include <memory>
#include <optional>

#include "model/project.h"
#include "model/view_transform.h"
#include "platform/extended.h"
#include "platform/services.h"
#include "viewer/analysis_run.h"
#include "viewer/iso_levels.h"
#include "viewer/knot_values.h"
#include "viewer/view_codes.h"

namespace tavir {

// Opens the two-bar progress box for one preparation of knot values or thickness
// averages: the box is shown while the returned observer lives.
class ProgressBoxOpener {
 public:
  virtual ~ProgressBoxOpener() = default;
  virtual std::unique_ptr<ProgressObserver> OpenProgressBox() = 0;
};

// The isoline dialog: edits the record; true for OK.
class IsoParamsDialog {
 public:
  virtual ~IsoParamsDialog() = default;
  virtual bool Execute(TIsoParamsRec& params) = 0;
};

// The box of a new section view (kind 2, white, scale 0.01).
struct SectionWindowBox {
  TFloatPoint3D MinPoint;
  TFloatPoint3D MaxPoint;
  RgbColor Color = 0xFFFFFF;
  Projection Kind = Projection::XZ;
  TFloatPoint Scale;
};

// Draw flags of the result views: the model's (kDrawLoads, kDrawKnots,
// kDrawSupports, kDrawShells of TVelEditorProject::Draw) and these.
inline constexpr std::int16_t kViewDrawLayerZones = 0x200;
inline constexpr std::int16_t kViewDrawIsolines = 0x400;
inline constexpr std::int16_t kViewDrawZoneFills = 0x800;
inline constexpr std::int16_t kViewDrawOutlines = 0x4000;
inline constexpr std::int16_t kViewDrawDefault = kDrawKnots | kDrawSupports | kViewDrawOutlines;  // 0x400C

// What the result views show: the isolines and their quantity, layer and fibre,
// the draw flags, the mouse mode, the scale of new views and the colours of the
// zone fills. Plain values; the project keeps one.
struct ResultDisplayState {
  bool IsoVisible = false;
  TIsoParamsRec IsoParams;
  ResultKind IsoKind = ResultKind::Ux;
  std::int16_t DrawFlags = kViewDrawDefault;
  std::int32_t Layer = -1;  // the layer whose stresses are shown; -1 none
  Fibre StressPos = Fibre::Upper;
  tavir::MouseMode MouseMode = tavir::MouseMode::View;
  Extended DefaultScale = 0.01L;
  std::int32_t ColorCount = 2;

  // The quantity, copied into the isoline levels' record as well.
  void SetIsoKind(ResultKind v) {
    IsoKind = v;
    IsoParams.Kind = v;
  }
};

class PreparedValues {
 public:
  // The model is the project's; the values are prepared only while the run has
  // results. The display state gives the isoline quantity, layer and fibre and
  // takes the levels, the visibility and the isoline draw flag.
  PreparedValues(TVelEditorProject& model, const AnalysisRun& run, ResultDisplayState& display)
      : model_(model), run_(run), display_(display) {}
  PreparedValues(const PreparedValues&) = delete;
  PreparedValues& operator=(const PreparedValues&) = delete;

  // The two-bar box of the preparations given no observer of their own; none:
  // they run without one.
  void SetProgressBoxes(ProgressBoxOpener* boxes) { boxes_ = boxes; }

  // Values of the quantity at the knots; false without results or for kind 8.
  bool PrepareKnotValues(ResultKind kind, std::int32_t layer, Fibre fibre, ProgressObserver* progress = nullptr);
  // The isoline command: values for the shown quantity at the layer and fibre
  // when they are not the prepared ones; the levels take the defaults of their
  // range when they were not set for these values. Without a dialog the isolines
  // are shown, else the dialog decides. Sets the isoline draw flag; for a stress
  // quantity the layer and fibre become the shown ones. False when nothing was
  // done (no results, kind 8).
  bool PrepareIsoLines(std::int32_t layer, Fibre fibre, IsoParamsDialog* dialog, ProgressObserver* progress = nullptr);
  // Before isolines are drawn: prepares silently when the prepared values are not
  // those of the shown quantity, layer and fibre. True when values for them are ready.
  bool EnsureIsoValues(ProgressObserver* progress = nullptr);

  // What the knots' values hold now (none after Drop).
  const std::optional<KnotValuesKey>& PreparedKey() const { return preparedKey_; }
  // The quantity code of the prepared isoline levels (0 none).
  std::uint8_t DataState() const { return dataState_; }

  // Nodal thickness averages of the section views, in their own store.
  void AverageKnotThickness(ProgressObserver* progress = nullptr);
  const KnotThicknessStore& KnotThickness() const { return thickness_; }
  // The thicknesses changed: the averages are built again when next needed.
  void ThicknessesChanged() { thickness_.Clear(); }
  // The box of a section view for a plan view (nullopt for another kind); builds
  // the thickness averages first. The range runs over the visible shells, so the
  // view's screen update must have run.
  std::optional<SectionWindowBox> SectionWindowData(const ViewTransform& view);

  // Every knot's values, the keys and the averages go (new results, a new model).
  void Drop();

 private:
  TVelEditorProject& model_;
  const AnalysisRun& run_;
  ResultDisplayState& display_;
  ProgressBoxOpener* boxes_ = nullptr;
  std::uint8_t dataState_ = kDataNone;
  std::optional<KnotValuesKey> preparedKey_;  // what the knots' values hold
  std::optional<KnotValuesKey> levelsKey_;    // what the isoline levels were defaulted for
  KnotThicknessStore thickness_;
};

}  // namespace tavir

#pragma once
// One run of the analysis program on the bytes of a project file: open them into
// an analysis project, then run the static analysis and prepare the isolines of
// every quantity. Shared by the fuzz target and the corpus replay test.
//
// What must hold, whatever the bytes:
// - a refused file carries one of the reader's messages (or the out-of-memory
//   one) and leaves the open model and its results as they were;
// - a refused analysis shows exactly one error, keeps no results and hides the
//   status window;
// - an analysis called a success has finite displacements, strains, stresses and
//   isoline levels, all within the double range.
// RunAnalysis returns the first violation ("" when none).
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "model/project_file_fixture.h"
#include "viewer/viewer_project.h"
#include "fakes/scripted_messages.h"

namespace tavir::fuzzing {

// A status window that shows nothing and counts what the analysis asks of it.
class QuietStatus : public CalcStatus {
 public:
  void ShowStatus() override { Visible = true; }
  void HideStatus() override { Visible = false; }
  bool Visible = false;
};

// Picks the first material whenever a layer names none.
class FirstMaterialChooser : public ModelUi {
 public:
  std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries, std::int32_t) override {
    return entries.empty() ? std::nullopt : std::optional<std::int32_t>(0);
  }
};

inline bool UsableDouble(Extended v) { return std::isfinite(v) && std::fabs(v) <= static_cast<Extended>(DBL_MAX); }

inline bool IsOutOfMemoryMessage(const std::string& text) { return text.rfind(kOutOfMemoryText, 0) == 0; }

// Everything a reader may change, to compare before and after a refusal.
inline std::vector<std::uint8_t> ProjectState(TViewerProject& p) {
  std::vector<std::uint8_t> out = testing::ListBytes(p.Model());
  out.push_back(p.HasResults() ? 1 : 0);
  for (const Extended v : p.LoadVector()) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(&v);
    out.insert(out.end(), b, b + 10);
  }
  return out;
}

inline std::string CheckResults(TViewerProject& p) {
  if (!p.HasResults()) return "a successful analysis without results";
  for (const Extended v : p.LoadVector())
    if (!UsableDouble(v)) return "a displacement outside the double range called success";
  for (const auto& e : p.Elements().Items()) {
    const auto* shell = AsResultShell(e.get());
    if (shell == nullptr) continue;
    for (int f = 0; f < 3; ++f)
      for (const TFloat2DMatrix* m : {&shell->Strains[f], &shell->Stresses[f]})
        for (std::size_t r = 0; r < m->Rows(); ++r)
          for (std::size_t c = 0; c < m->Cols(); ++c)
            if (!UsableDouble((*m)[r][c])) return "a strain or stress outside the double range called success";
  }
  const std::int32_t layers = std::min<std::int32_t>(p.MaxLayerCount(), 2);
  for (std::uint8_t k = 0; k < CodeByte(ResultKind::None); ++k) {
    const ResultKind kind = CodeOfByte<ResultKind>(k);
    p.SetIsoKind(kind);
    const bool stress = IsStressKind(kind);
    for (std::int32_t layer = stress ? 0 : -1; layer < (stress ? layers : 0); ++layer) {
      if (!p.PrepareIsoLines(layer, Fibre::Upper, nullptr)) return "isolines refused after a successful analysis";
      const TIsoParamsRec& iso = p.IsoParams();
      if (!std::isfinite(iso.MinValue) || !std::isfinite(iso.MaxValue) || !std::isfinite(iso.Step))
        return "an isoline level that is not finite";
      for (const auto& k : p.Knots().Items())
        for (const TKnotValue& v : AsResultKnot(k.get())->Values)
          if (!std::isfinite(v.Value)) return "a knot value that is not finite";
    }
  }
  return "";
}

inline std::string RunAnalysis(TViewerProject& p, ScriptedMessages& messages, const std::vector<std::uint8_t>& bytes) {
  messages.Shown.clear();
  const std::vector<std::uint8_t> before = ProjectState(p);
  try {
    if (!p.LoadProjectBytes(bytes, "fuzz.tps")) return "a file refused without a message";
  } catch (const std::exception& ex) {
    if (!testing::IsReaderMessage(ex.what()) && !IsOutOfMemoryMessage(ex.what()))
      return std::string("a refusal without a reader message: ") + ex.what();
    if (ProjectState(p) != before) return "a refused file changed the open project";
    return "";
  }
  if (!messages.Shown.empty()) return "opening a file showed a message";

  QuietStatus status;
  const bool ok = p.StaticCalculate(status);
  if (status.Visible) return "the status window stays shown";
  std::size_t errors = 0;
  for (const auto& m : messages.Shown) {
    if (m.Text.empty()) return "an empty message";
    if (m.Kind == MsgKind::Error) ++errors;
  }
  if (!ok) {
    if (errors != 1) return "a refused analysis without exactly one error message";
    if (p.HasResults()) return "a refused analysis keeps results";
    return "";
  }
  if (errors != 0) return "a successful analysis showed an error";
  return CheckResults(p);
}

}  // namespace tavir::fuzzing

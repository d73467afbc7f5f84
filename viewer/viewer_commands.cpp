#include "viewer/viewer_commands.h"

#include <algorithm>

#include "platform/numtext.h"
#include "viewer/knot_values.h"

namespace tavir {

ViewerCommandStatus ViewerCommandState(const TViewerProject& project, const TGraphWindows& windows) {
  return ViewerCommandStatus{windows.CurrentWindow() != nullptr, project.IsBusy()};
}

bool ViewerCommandEnabled(std::string_view action, const ViewerCommandStatus& state) {
  return kViewerCommands.Enabled(action, state);
}

// ---- draw modes ----

DrawModesState DrawModesFromFlags(std::int16_t flags, std::int32_t colorCount) {
  const auto bits = static_cast<std::uint16_t>(flags);
  DrawModesState s;
  std::uint16_t boxed = 0;
  for (std::size_t i = 0; i < kDrawModeBoxes.size(); ++i) {
    s.Checked[i] = (bits & kDrawModeBoxes[i].Bit) != 0;
    boxed = static_cast<std::uint16_t>(boxed | kDrawModeBoxes[i].Bit);
  }
  s.OtherBits = static_cast<std::uint16_t>(bits & ~boxed);
  s.ColorCount = std::clamp<std::int32_t>(colorCount, 1, 2);
  return s;
}

std::int16_t DrawFlagsFromModes(const DrawModesState& state) {
  std::uint16_t bits = 0;
  for (std::size_t i = 0; i < kDrawModeBoxes.size(); ++i)
    if (state.Checked[i]) bits = static_cast<std::uint16_t>(bits | kDrawModeBoxes[i].Bit);
  std::uint16_t boxed = 0;
  for (const DrawModeBox& b : kDrawModeBoxes) boxed = static_cast<std::uint16_t>(boxed | b.Bit);
  bits = static_cast<std::uint16_t>(bits | (state.OtherBits & ~boxed));
  return static_cast<std::int16_t>(bits);
}

void SetFrames(TFinElements& elements, bool value) {
  for (const auto& e : elements.Items())
    if (e != nullptr) e->SetContur(value ? 1 : 0);
}

bool DrawModesCommand(TViewerProject& project, TGraphWindows& windows, DrawModesDialog& dialog) {
  DrawModesState state = DrawModesFromFlags(project.DrawFlags(), project.ColorCount());
  const bool ok = dialog.Execute(state);
  if (ok) {
    const std::int16_t flags = DrawFlagsFromModes(state);
    SetFrames(project.Elements(), (static_cast<std::uint16_t>(flags) & 0x4000) != 0);
    project.SetDrawFlags(flags);
    project.SetColorCount(std::clamp<std::int32_t>(state.ColorCount, 1, 2));
  }
  windows.RepaintCurrent();
  return ok;
}

// ---- isolines ----

std::optional<ResultKind> IsoKindOfAction(std::string_view action) {
  static constexpr std::array<std::string_view, 8> kActions{"Ac_IsoLineUx", "Ac_IsoLineVy", "Ac_IsoLineWz",
                                                            "Ac_IsoLineSx", "Ac_IsoLineSy", "Ac_IsoLineTxy",
                                                            "Ac_IsoLineRx", "Ac_IsoLineRy"};
  for (std::size_t i = 0; i < kActions.size(); ++i)
    if (kActions[i] == action) return CodeOfByte<ResultKind>(static_cast<std::uint8_t>(i));
  return std::nullopt;
}

bool IsoLinesCommand(TViewerProject& project, TGraphWindows& windows, ResultKind kind, IsoParamsDialog& isoDialog,
                     StressPosDialog& stressDialog, ProgressObserver* progress) {
  if (!IsResultQuantity(kind)) return false;
  project.SetIsoKind(kind);
  if (IsStressKind(kind)) {
    const auto choice = stressDialog.Execute(project.MaxLayerCount(), project.StressPos());
    if (!choice) {
      project.SetIsoKind(ResultKind::None);
      project.SetLayer(-1);
      return false;
    }
    project.SetStressPos(choice->StressPos);
    project.SetLayer(choice->Layer);
  } else {
    project.SetLayer(-1);
  }
  // The project's own layer and fibre: the repaint prepares for exactly these, so
  // it finds them ready and the levels the dialog set stay.
  const Fibre fibre = IsStressKind(kind) ? project.StressPos() : Fibre::Upper;
  project.PrepareIsoLines(project.Layer(), fibre, &isoDialog, progress);
  windows.RepaintView(0);
  return true;
}

// ---- opening a file, the caption, the shell information ----

namespace {

std::size_t NameStart(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

// The extension with its dot; empty when the name part has none.
std::string Extension(const std::string& fileName) {
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || dot < NameStart(fileName)) return {};
  return fileName.substr(dot);
}

}  // namespace

std::string MainFormCaption(const std::string& fileName) {
  return std::string(kCalcMainCaption) + " [" + fileName.substr(NameStart(fileName)) + "]";
}

OpenOutcome OpenCommand(TViewerProject& project, const std::string& fileName, MessageService& messages) {
  // A save's temporary file is of the kind of the file it was saved for.
  const std::string ext = Extension(ProjectNameOf(fileName));
  if (ext == ".tps") return project.LoadProjectFile(fileName) ? OpenOutcome::Project : OpenOutcome::NotOpened;
  if (ext == ".tpc") {
    project.LoadResultsFile(fileName);
    return OpenOutcome::Results;
  }
  messages.Error(kUnknownFormatText);
  return OpenOutcome::UnknownFormat;
}

std::optional<std::string> ShellInfoText(TShellFunctions& surfaces) {
  if (surfaces.Count() == 0) return std::nullopt;
  TBaseShellFuncs* first = surfaces.At(0);
  if (const TEditorShellEP* p = TShellFunctions::AsParaboloid(first))
    return "Стрела подъема f1=" + FormatGeneral(p->GetF1()) + "\r\n" + "Стрела подъема f2=" + FormatGeneral(p->GetF2()) +
           "\r\n" + "Стрела подъема f=" + FormatGeneral(p->GetF1() + p->GetF2());
  if (const TEditorSphere* sphere = TShellFunctions::AsSphere(first))
    return "Стрела подъема f=" + FormatGeneral(sphere->GetF()) + "\r\n" + "Пролет а=" + FormatGeneral(sphere->GetA());
  return std::nullopt;
}

// ---- views ----

namespace {

// The current view's grid changed: its desk to the front, repainted when asked.
bool OnCurrentGrid(TGraphWindows& windows, bool repaint, const auto& change) {
  TGraphWindow* view = windows.CurrentWindow();
  if (view == nullptr) return false;
  change(view->Grid());
  windows.ShowWindow(windows.Current());
  if (repaint) windows.RepaintCurrent();
  return true;
}

}  // namespace

bool GridStyleCommand(TGraphWindows& windows, std::uint8_t style) {
  return OnCurrentGrid(windows, true, [style](TGrid& g) { g.SetStyle(style); });
}

bool GridShowCommand(TGraphWindows& windows, bool checked) {
  return OnCurrentGrid(windows, true, [checked](TGrid& g) { g.SetShowGrid(checked ? 1 : 0); });
}

bool GridSnapCommand(TGraphWindows& windows, bool checked) {
  return OnCurrentGrid(windows, false, [checked](TGrid& g) { g.SetSnapToGrid(checked ? 1 : 0); });
}

bool ZoomCommand(TGraphWindows& windows, Extended factor) {
  if (!windows.ZoomCurrent(factor)) return false;
  windows.RepaintCurrent();
  return true;
}

bool ScaleCommand(TGraphWindows& windows, ScaleDialog& dialog) {
  if (windows.CurrentWindow() == nullptr) return false;
  const std::optional<Extended> factor = dialog.Execute();
  return factor && ZoomCommand(windows, *factor);
}

bool GridParamsCommand(TGraphWindows& windows, GridParamsDialog& dialog) {
  TGraphWindow* view = windows.CurrentWindow();
  if (view == nullptr) return false;
  TGrid grid = view->Grid();
  const bool ok = dialog.Execute(grid, view->View.MinPoint, view->View.MaxPoint, view->Kind());
  if (ok) view->Grid() = grid;
  windows.ShowWindow(windows.Current());
  windows.RepaintCurrent();
  return ok;
}

bool ActualSizeCommand(TGraphWindows& windows) {
  if (!windows.ActualSizeCurrent()) return false;
  windows.RepaintCurrent();
  return true;
}

int Create3DViewCommand(TGraphWindows& windows) {
  if (windows.Count() == 0) return -1;
  const TGraphWindow& first = windows.Items(0);
  const TFloatPoint3D minPoint = first.View.MinPoint;
  const TFloatPoint3D maxPoint = first.View.MaxPoint;
  const TFloatPoint scale = first.View.Scale;
  const int index = windows.AddWindow(minPoint, 0xFFFFFF, Projection::Spatial, scale, maxPoint);
  windows.ShowDesk(index);
  windows.RepaintView(index);
  return index;
}

void MouseModeCommand(TViewerProject& project, TGraphWindows& windows, MouseMode mode) {
  if (mode == MouseMode::SectionLine) project.SetIsoVisible(false);
  project.SetMouseMode(mode);
  windows.SetModeCursor(mode);
  if (mode == MouseMode::NewWindow) windows.RepaintCurrent();
}

}  // namespace tavir

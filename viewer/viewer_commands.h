#pragma once
// The plain side of the analysis program's commands: what each handler does to
// the project and the views, whether a command can run now, and the draw-mode
// dialog's boxes. The command module's handlers run a dialog and call these.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "viewer/graph_windows.h"
#include "viewer/viewer_project.h"

namespace tavir {

// ---- whether a command can run ----

struct TViewerCommandState {
  bool HasView = false;  // a result view is open (a project was opened)
  bool Busy = false;     // a computation runs
};
TViewerCommandState ViewerCommandState(const TViewerProject& project, const TGraphWindows& windows);

// The commands that act on the current view: they need one.
inline constexpr std::array<std::string_view, 12> kViewCommands{
    "AcGrid_Dot",   "AcGrid_Cross",  "AcGrid_Line",  "AcGrid_Other", "AcGrid_Show", "AcGrid_SnapToGrid",
    "AcGrid_Params", "acViewZoomIn", "acViewZoomOut", "acViewScale", "acViewActual", "acFileExport"};

// Whether the command of that action name can run in the state: the view commands
// need a view; while a computation runs no command with a handler starts (the
// view-mode command, which the project itself runs, excepted). Commands without a
// handler do nothing either way and are reported enabled.
bool ViewerCommandEnabled(std::string_view action, const TViewerCommandState& state);

// ---- draw modes ----

struct TDrawModeBox {
  std::string_view Name;     // the check box's control name
  std::string_view Caption;  // its text
  std::uint16_t Bit;         // its bit of the draw flags
};
inline constexpr std::array<TDrawModeBox, 9> kDrawModeBoxes{{
    {"ChBox_Knots", "Узлы", 0x0004},
    {"ChBox_FrameElems", "Контуры элементов", 0x4000},
    {"ChBox_Rests", "Опоры", 0x0008},
    {"ChBox_Forces", "Нагрузка", 0x0001},
    {"ChBox_ShellFuncs", "Контуры проекций оболочек", 0x0100},
    {"ChBox_IsoLines", "Изолинии", 0x0400},
    {"ChBox_IzoThickness", "Изозоны толщин", 0x0800},
    {"ChBox_IzoDensity_U", "Изозоны плотности энергии", 0x2000},
    {"ChBox_IzoZone", "Изозоны", 0x1000},
}};

// What the draw-mode dialog shows: one check per box of kDrawModeBoxes, the colour
// count of the zones, and the bits no box represents (the layer zones $200 among
// them), which go back unchanged.
struct TDrawModesState {
  std::array<bool, kDrawModeBoxes.size()> Checked{};
  std::int32_t ColorCount = 2;
  std::uint16_t OtherBits = 0;
  friend bool operator==(const TDrawModesState&, const TDrawModesState&) = default;
};
// The colour count is shown in 1..2.
TDrawModesState DrawModesFromFlags(std::int16_t flags, std::int32_t colorCount);
std::int16_t DrawFlagsFromModes(const TDrawModesState& state);

// The outline flag of every plate and shell.
void SetFrames(TFinElements& elements, bool value);

class DrawModesDialog {
 public:
  virtual ~DrawModesDialog() = default;
  // Edits the state; true for OK.
  virtual bool Execute(TDrawModesState& state) = 0;
};

// AcService_DrawModes: on OK the outlines by bit $4000, the draw flags and the
// colour count; the current view is repainted either way. True for OK.
bool DrawModesCommand(TViewerProject& project, TGraphWindows& windows, DrawModesDialog& dialog);

// ---- isolines ----

// The quantity of an isoline command ("Ac_IsoLineUx" 0 ... "Ac_IsoLineRy" 7).
std::optional<ResultKind> IsoKindOfAction(std::string_view action);

struct TStressPosChoice {
  Fibre StressPos = Fibre::Upper;
  std::int32_t Layer = 0;
};

class StressPosDialog {
 public:
  virtual ~StressPosDialog() = default;
  // The layer number ranges over 0..layerCount-1; the fibre starts at stressPos.
  // nullopt for Cancel.
  virtual std::optional<TStressPosChoice> Execute(std::int32_t layerCount, Fibre stressPos) = 0;
};

// An isoline command of the quantity. Displacements and slopes: layer -1 and the
// values of the quantity; stresses: the stress dialog first (Cancel: quantity 8,
// layer -1, no repaint), then the values of the chosen layer and fibre, which
// become the project's Layer and StressPos. Then the isoline dialog, and view 0
// is repainted. True when view 0 was repainted.
bool IsoLinesCommand(TViewerProject& project, TGraphWindows& windows, ResultKind kind, IsoParamsDialog& isoDialog,
                     StressPosDialog& stressDialog, ProgressObserver* progress = nullptr);

// ---- opening a file, the main form's caption, the shell information ----

inline constexpr const char* kCalcAppTitle = "ПК \"Тавир\" - расчетный модуль";
inline constexpr const char* kCalcMainCaption = "Программный комплекс \"Тавир\" - расчетный модуль";
// The open dialog: default extension, filter, and the filter shown first (1-based: the project type).
inline constexpr const char* kOpenDefaultExtension = "tps";
inline constexpr const char* kOpenDialogFilter =
    "All Files (*.*)|*.*|Файл проекта \"Тавир\" (*.tps)|*.tps|Файл результатов \"Тавир\" (*.tpc)|*.tpc";
inline constexpr int kOpenFilterIndex = 2;
inline constexpr const char* kUnknownFormatText = "Не определен формат файла!";

// The main form's caption for the project file name: the name part only, in
// brackets ("[]" before any project).
std::string MainFormCaption(const std::string& fileName);

enum class OpenOutcome : std::uint8_t { Project, Results, UnknownFormat, NotOpened };
// acFileOpen with the name the dialog confirmed: ".tps" opens the project, ".tpc"
// runs the results loader (which reads nothing), any other extension (compared
// with its case: ".TPS" too) is refused with kUnknownFormatText. A damaged file
// throws, with the open project unchanged; the caller refreshes the caption
// (MainFormCaption of the project's FileName) whatever happened.
OpenOutcome OpenCommand(TViewerProject& project, const std::string& fileName, MessageService& messages);

// AcService_InfoShell: the rises of the first surface (a paraboloid: f1, f2 and
// their sum; a sphere: its rise and span), or nothing without surfaces.
std::optional<std::string> ShellInfoText(TShellFunctions& surfaces);

// ---- views ----

// AcGrid_Dot, AcGrid_Cross, AcGrid_Line, AcGrid_Other (styles 0..3): the current
// view's grid style, its desk to the foreground, repainted. False without a view.
bool GridStyleCommand(TGraphWindows& windows, std::uint8_t style);
// AcGrid_Show: the grid shown by the action's checked state; foreground, repaint.
bool GridShowCommand(TGraphWindows& windows, bool checked);
// AcGrid_SnapToGrid: the snap flag by the checked state; foreground, no repaint.
bool GridSnapCommand(TGraphWindows& windows, bool checked);
// acViewZoomIn (2), acViewZoomOut (-2), acViewScale (the dialog's value): zoom the
// current view and repaint it. False without a view or when the view refuses.
bool ZoomCommand(TGraphWindows& windows, Extended factor);
class ScaleDialog {
 public:
  virtual ~ScaleDialog() = default;
  // The factor typed (the dialog itself refuses 0); nullopt for Cancel.
  virtual std::optional<Extended> Execute() = 0;
};
// acViewScale: the dialog, then ZoomCommand with its factor. False without a view
// (no dialog then), on Cancel, or when the view refuses the zoom.
bool ScaleCommand(TGraphWindows& windows, ScaleDialog& dialog);

class GridParamsDialog {
 public:
  virtual ~GridParamsDialog() = default;
  // Edits the copy of the view's grid; the view's box and kind (as the projection
  // whose pairs of controls are enabled) are shown. True for OK.
  virtual bool Execute(TGrid& grid, const TFloatPoint3D& minPoint, const TFloatPoint3D& maxPoint,
                       Projection projection) = 0;
};
// AcGrid_Params: the dialog on a copy of the current view's grid, copied back on
// OK; the view's desk to the foreground and repainted either way. False without a
// view (no dialog then) or on Cancel.
bool GridParamsCommand(TGraphWindows& windows, GridParamsDialog& dialog);

// acViewActual: back to the saved scale, repaint.
bool ActualSizeCommand(TGraphWindows& windows);
// AcService_Create3D: a white 3-D view with view 0's box and scale, shown cleared
// and repainted; its index, -1 (nothing) without a view.
int Create3DViewCommand(TGraphWindows& windows);
// AcVMode_Viewer (0), AcService_Section (3, isolines hidden), acWinNew (4, the
// current view repainted): the mouse mode and the cursors of every view.
void MouseModeCommand(TViewerProject& project, TGraphWindows& windows, MouseMode mode);

}  // namespace tavir

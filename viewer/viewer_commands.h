#pragma once
// The plain side of the analysis program's commands: the command table (names,
// captions, shortcuts, rules and the handler interface the command module
// implements), what each handler does to the project and the views, whether a
// command can run now, and the draw-mode dialog's boxes. The command module's
// handlers run a dialog and call these.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/command_table.h"
#include "viewer/graph_windows.h"
#include "viewer/viewer_project.h"

namespace tavir {

// ---- the commands ----

// The handlers of the commands that carry something out, one each; the command
// module implements them.
class ViewerCommandHandlers {
 public:
  virtual ~ViewerCommandHandlers() = default;
  virtual void acFileOpenExecute() = 0;
  virtual void acFileExportExecute() = 0;
  virtual void AcSolve_StaticCalculateExecute() = 0;
  virtual void AcSolv_AdaptationExecute() = 0;
  virtual void Ac_IsoLineUxExecute() = 0;
  virtual void Ac_IsoLineVyExecute() = 0;
  virtual void Ac_IsoLineWzExecute() = 0;
  virtual void Ac_IsoLineRxExecute() = 0;
  virtual void Ac_IsoLineRyExecute() = 0;
  virtual void Ac_IsoLineSxExecute() = 0;
  virtual void Ac_IsoLineSyExecute() = 0;
  virtual void Ac_IsoLineTxyExecute() = 0;
  virtual void AcService_DrawModesExecute() = 0;
  virtual void AcService_SectionExecute() = 0;
  virtual void acWinNewExecute() = 0;
  virtual void AcVMode_ViewerExecute() = 0;
  virtual void AcService_Create3DExecute() = 0;
  virtual void AcService_InfoShellExecute() = 0;
  virtual void AcGrid_ParamsExecute() = 0;
  virtual void AcGrid_DotExecute() = 0;
  virtual void AcGrid_CrossExecute() = 0;
  virtual void AcGrid_LineExecute() = 0;
  virtual void AcGrid_OtherExecute() = 0;
  virtual void AcGrid_ShowExecute() = 0;
  virtual void AcGrid_SnapToGridExecute() = 0;
  virtual void acViewZoomInExecute() = 0;
  virtual void acViewZoomOutExecute() = 0;
  virtual void acViewScaleExecute() = 0;
  virtual void acViewActualExecute() = 0;
};

struct ViewerCommand {
  std::string_view Name;
  std::string_view Caption;   // & marks the accelerator
  std::string_view Shortcut;  // "Ctrl+O", empty for none
  std::string_view IconText;  // the tool button's short text where the caption is long; empty: the caption
  CommandHandler<ViewerCommandHandlers> Handler;  // empty: laid out, carries out nothing
  CommandRules Rules;
};

namespace viewer_rows {
using H = ViewerCommandHandlers;
// Most commands may start whenever no computation runs; the commands on the
// current view need one; the grid styles and switches (and the frame selection)
// toggle their own check mark; the view mode is the program's own (the project runs
// it, also while it computes).
inline constexpr CommandRules kPlain{};
inline constexpr CommandRules kOnView{.NeedsView = true};
inline constexpr CommandRules kCheckOnView{.Checkable = true, .NeedsView = true};
inline constexpr CommandRules kCheck{.Checkable = true};
inline constexpr CommandRules kOwn{.WhileBusy = true};
inline constexpr ViewerCommand kRows[] = {
    {"acFileOpen", "&Открыть", "Ctrl+O", "", &H::acFileOpenExecute, kPlain},
    {"acFileExport", "&Экспорт", "", "", &H::acFileExportExecute, kOnView},
    {"AcSolve_StaticCalculate", "Статиче&ский расчет", "", "Расчет", &H::AcSolve_StaticCalculateExecute, kPlain},
    {"AcSolv_Adaptation", "Ад&аптация", "", "Адаптация", &H::AcSolv_AdaptationExecute, kPlain},
    {"Ac_IsoLineUx", "Изолинии перемещений вдоль оси Х", "", "Ux", &H::Ac_IsoLineUxExecute, kPlain},
    {"Ac_IsoLineVy", "Изолинии перемещений вдоль оси Y", "", "Vy", &H::Ac_IsoLineVyExecute, kPlain},
    {"Ac_IsoLineWz", "Изолинии перемещений вдоль оси Z", "", "Wz", &H::Ac_IsoLineWzExecute, kPlain},
    {"Ac_IsoLineRx", "Изолинии углов поворота относительно оси Y", "", "Rx", &H::Ac_IsoLineRxExecute, kPlain},
    {"Ac_IsoLineRy", "Изолинии углов поворота относительно оси X", "", "Ry", &H::Ac_IsoLineRyExecute, kPlain},
    {"Ac_IsoLineSx", "Изолинии нормальных напряжений Sx", "", "Sx", &H::Ac_IsoLineSxExecute, kPlain},
    {"Ac_IsoLineSy", "Изолинии нормальных напряжений Sy", "", "Sy", &H::Ac_IsoLineSyExecute, kPlain},
    {"Ac_IsoLineTxy", "Изолинии касательных напряжений Txy", "", "Txy", &H::Ac_IsoLineTxyExecute, kPlain},
    {"AcService_DrawModes", "Режим прорисовки", "", "", &H::AcService_DrawModesExecute, kPlain},
    {"AcService_Section", "Провести сечение", "", "Сечение", &H::AcService_SectionExecute, kPlain},
    {"acWinNew", "&Новое", "", "", &H::acWinNewExecute, kPlain},
    {"AcVMode_Viewer", "Режим просмотра", "", "", &H::AcVMode_ViewerExecute, kOwn},
    {"AcService_Create3D", "Построить 3-х мерное изображение", "", "3-D", &H::AcService_Create3DExecute, kPlain},
    {"AcService_InfoShell", "Информация о оболочке", "", "", &H::AcService_InfoShellExecute, kPlain},
    {"AcGrid_Params", "Параметры сетки", "", "", &H::AcGrid_ParamsExecute, kOnView},
    {"AcGrid_Dot", "Точками", "", "", &H::AcGrid_DotExecute, kCheckOnView},
    {"AcGrid_Cross", "Крестами", "", "", &H::AcGrid_CrossExecute, kCheckOnView},
    {"AcGrid_Line", "Линиями", "", "", &H::AcGrid_LineExecute, kCheckOnView},
    {"AcGrid_Other", "Другая...", "", "", &H::AcGrid_OtherExecute, kCheckOnView},
    {"AcGrid_Show", "Показать сетку", "", "", &H::AcGrid_ShowExecute, kCheckOnView},
    {"AcGrid_SnapToGrid", "Привязать к сетке", "", "", &H::AcGrid_SnapToGridExecute, kCheckOnView},
    {"acViewZoomIn", "Пр&иблизть", "", "+", &H::acViewZoomInExecute, kOnView},
    {"acViewZoomOut", "&Отдалить", "", "-", &H::acViewZoomOutExecute, kOnView},
    {"acViewScale", "&Масштаб...", "", "Масштаб", &H::acViewScaleExecute, kOnView},
    {"acViewActual", "&Актуальный размер", "", "1:1", &H::acViewActualExecute, kOnView},
    // Laid out in the menus and tool bars; they do nothing.
    {"acFileSave", "&Сохранить", "Ctrl+S", "", nullptr, kPlain},
    {"acFileSaveAs", "Сохранить &как ...", "", "", nullptr, kPlain},
    {"acFilePrint", "&Печать...", "", "", nullptr, kPlain},
    {"acFilePreview", "Прос&мотр", "", "", nullptr, kPlain},
    {"acFileImport", "&Импорт", "", "", nullptr, kPlain},
    {"acFileExit", "В&ыход", "", "", nullptr, kPlain},
    {"acHelpAbout", "&О программе", "", "", nullptr, kPlain},
    {"acEditUndo", "&Отменить", "", "", nullptr, kPlain},
    {"acEditRedo", "Пов&торить", "", "", nullptr, kPlain},
    {"acEditSpecPaste", "Сп&ециальная вставка", "", "", nullptr, kPlain},
    {"acEditDelete", "&Удалить", "Del", "", nullptr, kPlain},
    {"acEditChange", "&Изменить", "", "", nullptr, kPlain},
    {"acEditFind", "&Найти", "", "", nullptr, kPlain},
    {"acEditGoTo", "&Перейти", "", "", nullptr, kPlain},
    {"acViewPanels", "Пан&ели инструментов", "", "", nullptr, kPlain},
    {"acViewStatusBar", "&Строка состояния", "", "", nullptr, kPlain},
    {"acViewColontitul", "&Колонтитулы", "", "", nullptr, kPlain},
    {"acServiceOptimize", "&Оптимизация", "", "", nullptr, kPlain},
    {"acFormatTask", "&Задача", "", "", nullptr, kPlain},
    {"acFormatDinamics", "&Динамика", "", "", nullptr, kPlain},
    {"acFormatElement", "&Тип элемента", "", "", nullptr, kPlain},
    {"acWinMain", "&Главное", "", "", nullptr, kPlain},
    {"acWinNext", "Сл&едующее", "", "", nullptr, kPlain},
    {"acWinPred", "&Предыдущее", "", "", nullptr, kPlain},
    {"acWinList", "&Список окон", "Alt+0", "", nullptr, kPlain},
    {"acWinDel", "&Удалить окно", "", "", nullptr, kPlain},
    {"acWinDelAll", "Удалить &все окна", "", "", nullptr, kPlain},
    {"acServiceParam", "&Параметры", "", "", nullptr, kPlain},
    {"acViewDetails", "&Деталей", "", "", nullptr, kPlain},
    {"acViewElements", "&Элементов", "", "", nullptr, kPlain},
    {"acViewForce", "&Усилий", "", "", nullptr, kPlain},
    {"acViewRest", "&Опор", "", "", nullptr, kPlain},
    {"acFormatDiagram", "Ди&аграмма", "", "", nullptr, kPlain},
    {"acHelpProjectInfo", "&Информация о проекте", "", "", nullptr, kPlain},
    {"acWinParams", "Свойства &окна", "", "", nullptr, kPlain},
    {"AcEdit_SelectAllElems", "Выделить все &элементы", "", "", nullptr, kPlain},
    {"AcEdit_SelectAllKnots", "Выделить все у&злы", "", "", nullptr, kPlain},
    {"AcEdit_ClearSelection", "Сн&ять выделение", "", "", nullptr, kPlain},
    {"AcEdit_SelectFrame", "Выделить &рамкой", "", "", nullptr, kCheck},
    {"AcEdit_SelectAll", "Вы&делить все", "Ctrl+A", "", nullptr, kPlain},
    {"Ac_IsoLineParams", "Параметры изолинии", "", "", nullptr, kPlain},
    // The clipboard's own: the command module binds them to the focused text box.
    {"acEditCut", "&Вырезать", "Ctrl+X", "", nullptr, kPlain},
    {"acEditCopy", "&Копировать", "Ctrl+C", "", nullptr, kPlain},
    {"acEditPaste", "Вст&авить", "Ctrl+V", "", nullptr, kPlain},
};

// The names of the rows whose rules hold a flag.
template <bool CommandRules::*Flag>
constexpr auto NamesWith() {
  constexpr std::size_t count = [] {
    std::size_t n = 0;
    for (const ViewerCommand& c : kRows) n += (c.Rules.*Flag) ? 1 : 0;
    return n;
  }();
  std::array<std::string_view, count> names{};
  std::size_t i = 0;
  for (const ViewerCommand& c : kRows)
    if (c.Rules.*Flag) names[i++] = c.Name;
  return names;
}
}  // namespace viewer_rows

// Every command of the analysis program, in the order its actions are made.
inline constexpr CommandTable<ViewerCommand> kViewerCommands{viewer_rows::kRows};

// ---- whether a command can run ----

using ViewerCommandStatus = CommandStatus;  // HasView: a result view is open; Busy: a computation runs
ViewerCommandStatus ViewerCommandState(const TViewerProject& project, const TGraphWindows& windows);

// The grid-style commands by style (0 dots, 1 crosses, 2 lines, 3 other).
inline constexpr std::array<std::string_view, 4> kGridStyleCommands{"AcGrid_Dot", "AcGrid_Cross", "AcGrid_Line",
                                                                    "AcGrid_Other"};

// The commands that act on the current view: they need one.
inline constexpr auto kViewCommands = viewer_rows::NamesWith<&CommandRules::NeedsView>();

// Whether the command of that action name can run in the state: the view commands
// need a view; while a computation runs no command with a handler starts (the
// view-mode command, which the project itself runs, excepted). Commands without a
// handler do nothing either way and are reported enabled.
bool ViewerCommandEnabled(std::string_view action, const ViewerCommandStatus& state);

// ---- draw modes ----

struct DrawModeBox {
  std::string_view Name;     // the check box's control name
  std::string_view Caption;  // its text
  std::uint16_t Bit;         // its bit of the draw flags
};
inline constexpr std::array<DrawModeBox, 9> kDrawModeBoxes{{
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
struct DrawModesState {
  std::array<bool, kDrawModeBoxes.size()> Checked{};
  std::int32_t ColorCount = 2;
  std::uint16_t OtherBits = 0;
  friend bool operator==(const DrawModesState&, const DrawModesState&) = default;
};
// The colour count is shown in 1..2.
DrawModesState DrawModesFromFlags(std::int16_t flags, std::int32_t colorCount);
std::int16_t DrawFlagsFromModes(const DrawModesState& state);

// The outline flag of every plate and shell.
void SetFrames(TFinElements& elements, bool value);

class DrawModesDialog {
 public:
  virtual ~DrawModesDialog() = default;
  // Edits the state; true for OK.
  virtual bool Execute(DrawModesState& state) = 0;
};

// AcService_DrawModes: on OK the outlines by bit $4000, the draw flags and the
// colour count; the current view is repainted either way. True for OK.
bool DrawModesCommand(TViewerProject& project, TGraphWindows& windows, DrawModesDialog& dialog);

// ---- isolines ----

// The quantity of an isoline command ("Ac_IsoLineUx" 0 ... "Ac_IsoLineRy" 7).
std::optional<ResultKind> IsoKindOfAction(std::string_view action);

struct StressPosChoice {
  Fibre StressPos = Fibre::Upper;
  std::int32_t Layer = 0;
};

class StressPosDialog {
 public:
  virtual ~StressPosDialog() = default;
  // The layer number ranges over 0..layerCount-1; the fibre starts at stressPos.
  // nullopt for Cancel.
  virtual std::optional<StressPosChoice> Execute(std::int32_t layerCount, Fibre stressPos) = 0;
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

#include "editor/editor_commands.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "editor/project_io.h"
#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "model/project_file.h"

namespace tavir {

namespace {

const std::vector<SupportPreset> kSupportPresets = {
    {"AcRests_NoRest", TFixation{0, 0, 0, 0, 0, 0}},    {"AcRests_RestX", TFixation{1, 0, 0, 0, 0, 0}},
    {"AcRests_RestY", TFixation{0, 1, 0, 0, 0, 0}},     {"AcRests_RestZ", TFixation{0, 0, 1, 0, 0, 0}},
    {"AcRests_RestXYZ", TFixation{1, 1, 1, 0, 0, 0}},   {"AcRests_RestFixed", TFixation{1, 1, 1, 1, 1, 1}},
    {"AcRests_RestXY", TFixation{1, 1, 0, 0, 0, 0}},
};

// The mode commands and what each sets.
enum class NextInput { Given, Pick, Unchanged };  // Pick: frame selection when checked
struct ModeRow {
  std::string_view Name;
  tavir::WorkMode Work;
  NextInput How;
  tavir::InputMode Input;  // when How is Given
  bool Cursors;       // the windows' cursors follow the new modes
  bool ApplySupport;  // the default support goes to the selected knots
  bool Foreground;    // the current desk comes forward
};
constexpr ModeRow kModeRows[] = {
    {"acModeKnot", tavir::WorkMode::ElementInput, NextInput::Given, tavir::InputMode::ByKnots, false, false, false},
    {"acModeNet", tavir::WorkMode::ElementInput, NextInput::Given, tavir::InputMode::ByGrid, false, false, false},
    {"acModeFrame", tavir::WorkMode::ElementInput, NextInput::Given, tavir::InputMode::ByFrame, false, false, false},
    {"acModeEdit", tavir::WorkMode::Edit, NextInput::Pick, tavir::InputMode::Pick, true, false, false},
    {"acInput_Rest", tavir::WorkMode::Supports, NextInput::Given, tavir::InputMode::Supports, true, true, false},
    {"acDisplacement", tavir::WorkMode::SupportDisplacement, NextInput::Given, tavir::InputMode::Pick, true, false,
     false},
    {"acEditor_SetSurface", tavir::WorkMode::ShellSurface, NextInput::Unchanged, tavir::InputMode::Pick, true, false,
     true},
};

constexpr const char* kStepBand = "Шаг №1: Определение \"ленты\"";

// The format with each "%s" in turn replaced by the next value.
std::string FillIn(std::string text, std::initializer_list<std::string> values) {
  std::size_t from = 0;
  for (const std::string& v : values) {
    const std::size_t at = text.find("%s", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, v);
    from = at + v.size();
  }
  return text;
}

std::string ShortName(const std::string& fileName) { return std::filesystem::path(fileName).filename().string(); }

}  // namespace

const std::vector<SupportPreset>& SupportPresets() { return kSupportPresets; }

std::string ReplaceFileQuestion(const std::string& fileName) { return FillIn(kReplaceFileFormat, {fileName}); }

std::string SaveChangesQuestion(const std::string& fileName) {
  return FillIn(kSaveChangesFormat, {ShortName(fileName)});
}

std::string AutoSaveFailedText(const std::string& fileName, const std::string& reason) {
  return FillIn(kAutoSaveFailedFormat, {ShortName(fileName), reason});
}

// ---- band optimisation ----

BandOptimisation OptimiseBand(TVelEditorProject& project, TwoBarProgress* progress) {
  auto step = [&](auto&& f) {
    if (progress != nullptr) f(*progress);
  };
  step([](TwoBarProgress& p) {
    p.SetRanges(2, 4);
    p.SetCurrentLabel(kStepBand);
    p.SetTotalLabel("Оптимизациия \"ленты\"");
  });
  BandOptimisation r;
  r.Before = MeshBandWidth(project.Elements());
  step([](TwoBarProgress& p) {
    p.StepCurrent();
    p.SetCurrentLabel("Шаг №2: Сортировка по X");
  });
  SortByX(project.Knots());
  step([](TwoBarProgress& p) {
    p.StepCurrent();
    p.ResetCurrent();
    p.SetCurrentLabel(kStepBand);
  });
  r.ByX = MeshBandWidth(project.Elements());
  step([](TwoBarProgress& p) {
    p.StepCurrent();
    p.StepTotal();
    p.SetCurrentLabel("Шаг №2: Сортировка по Y");
  });
  SortByY(project.Knots());
  step([](TwoBarProgress& p) { p.StepCurrent(); });
  r.ByY = MeshBandWidth(project.Elements());
  step([](TwoBarProgress& p) { p.StepTotal(); });
  r.KeptY = r.ByY < r.ByX;
  if (r.KeptY)
    SortByY(project.Knots());
  else
    SortByX(project.Knots());
  step([](TwoBarProgress& p) { p.StepTotal(); });
  r.After = MeshBandWidth(project.Elements());
  step([](TwoBarProgress& p) { p.StepTotal(); });
  return r;
}

std::string BandOptimisationText(const BandOptimisation& result) {
  return "Лента до оптимизации: " + std::to_string(result.Before) + "\r\n" +
         "Лента после оптимизации: " + std::to_string(result.After);
}

// ---- the module ----

EditorCommands::EditorCommands(TEditSupervisor& supervisor, TVelEditorProject& project, EditorCommandsUi& ui,
                                 EditDeskHost& desks, ModelDialogs& dialogs, MessageService& messages, PixelSize screen)
    : supervisor_(supervisor),
      project_(project),
      ui_(ui),
      dialogs_(dialogs),
      messages_(messages),
      windows_(desks, messages, *this, screen) {}

EditorCommands::~EditorCommands() = default;

void EditorCommands::SetWindowState(std::int32_t currentWindow, std::int32_t windowCount) {
  supervisor_.SetCurrentWindow(currentWindow);
  supervisor_.SetWindowCount(windowCount);
}

Canvas* EditorCommands::CurrentCanvas() {
  return windows_.Current() != nullptr ? ui_.WindowCanvas(supervisor_.CurrentWindow) : nullptr;
}

std::shared_ptr<TPhisPropRodNL> EditorCommands::MaterialForNewElements() {
  if (auto m = project_.Materials().Material(supervisor_.MaterialIndex)) return m;
  // The first one; an empty list opens the material chooser.
  return project_.Materials().MaterialByIndex(0);
}

void EditorCommands::BringCurrentForward() {
  if (windows_.Current() != nullptr) windows_.ShowWindow(supervisor_.CurrentWindow);
}

void EditorCommands::ShowCurrentAnew() {
  if (windows_.Current() == nullptr) return;
  BringCurrentForward();
  // Coming forward repaints a desk only when it was not the active window already
  // (or when the window system lets it become active at all).
  ui_.RepaintWindow(supervisor_.CurrentWindow);
}

void EditorCommands::ShowChangedSymbols(bool replaced, const std::function<void(Canvas&)>& draw) {
  if (windows_.Current() == nullptr) return;
  if (replaced) {
    ui_.RepaintWindow(supervisor_.CurrentWindow);
  } else if (Canvas* c = CurrentCanvas()) {
    draw(*c);
  }
}

void EditorCommands::UnselectKnots() { project_.Knots().UnselectAll(CurrentCanvas()); }

void EditorCommands::UnselectElements() { project_.Elements().UnselectAll(CurrentCanvas()); }

bool EditorCommands::Run(std::string_view name) {
  const ActionInfo* info = FindEditorAction(name);
  if (info == nullptr) return false;
  if (info->Kind != ActionKind::Handler) return true;
  // An action meant to carry something out must never pass for one that does nothing.
  if (!Table().Run(*this, name)) throw std::logic_error("Нет обработчика команды " + std::string(name));
  return true;
}

namespace {

using Row = CommandRow<EditorCommands>;
using C = EditorCommands;
constexpr CommandRules kChecked{.Checkable = true};

template <std::size_t N>
std::size_t IndexOf(const std::array<std::string_view, N>& names, std::string_view name) {
  return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
}

void EvulKind(C& c, std::uint8_t kind) {
  c.Supervisor().Task.SetEvulKind(kind);
  c.State().CheckEvulKind(kind);
}

void Dimension(C& c, std::string_view name) { c.State().ApplyDimension(name); }

// The modal dialogs with nothing to give back.
void ShowDialog(C& c, std::string_view name) { c.Ui().ShowDialog(name); }

// A tool-bar switch flips its bar.
void FlipBar(C& c, std::string_view name) {
  for (int i = 0; i < kEditorBarCount; ++i)
    if (EditorBars()[static_cast<std::size_t>(i)].SwitchAction == name)
      c.State().SetBarVisible(i, !c.State().Bar(i).Visible);
}

std::vector<Row> EditorCommandRows() {
  std::vector<Row> rows = {
      {"acFileNew", &C::FileNew},
      {"acFileOpen", [](C& c, std::string_view) { c.FileOpen(); }},
      {"acFileSave", [](C& c, std::string_view) { c.FileSave(); }},
      {"acFileSaveAs", [](C& c, std::string_view) { c.FileSaveAs(); }},
      {"acFileExit", [](C& c, std::string_view) { c.Ui().CloseProgram(); }},
      {"acNoTask", &C::NoTask},
      {"AcNewTask", &C::NewTask},
      {"acForceConcentrate", &C::ForceConcentrate, kChecked},
      {"acForceDispersion", &C::ForceDispersion, kChecked},
      {"acForce_ConcApply", &C::ApplyConcForces},
      {"AcForce_DispApply", &C::ApplyDispForces},
      {"AcEdit_SelectFrame", &C::SelectFrame, kChecked},
      {"acRests_ChoiceRest", &C::ChoiceRest},
      {"acEvulStatic", [](C& c, std::string_view) { EvulKind(c, 0); }, kChecked},
      {"acEvulDinamic", [](C& c, std::string_view) { EvulKind(c, 1); }, kChecked},
      {"acEditDelete", &C::EditDelete},
      {"AcEdit_SelectAll", [](C& c, std::string_view) { c.SelectAll(true, true); }},
      {"AcEdit_SelectAllElems", [](C& c, std::string_view) { c.SelectAll(true, false); }},
      {"AcEdit_SelectAllKnots", [](C& c, std::string_view) { c.SelectAll(false, true); }},
      {"AcEdit_ClearSelection", &C::ClearSelection},
      {"acFormatElement", &C::FormatElement},
      {"acFormatCharacteristic", &C::FormatCharacteristic},
      {"AcFormat_Shells", &C::FormatShells},
      {"acServiceOptimize", [](C& c, std::string_view) { c.ServiceOptimize(); }},
      {"acServiceParam", &C::ServiceParam},
      {"acWinNew", &C::WinNew},
      {"acWinDel", &C::WinDel},
      {"acWinDelAll", &C::WinDelAll},
      {"acWinMain", [](C& c, std::string_view) { c.WinShow(0); }},
      {"acWinNext", &C::WinNext},
      {"acWinPred", &C::WinPred},
      {"acNetParametr", &C::NetParametr},
      {"acModeShowGrid", &C::ToggleShowGrid, kChecked},
      {"acModeSnapGrid", &C::ToggleSnapGrid, kChecked},
      {"acViewPanels", &C::ViewPanels},
      {"acViewStatusBar", &C::ViewStatusBar, kChecked},
      {"acHelpProjectInfo", [](C& c, std::string_view) { c.Ui().ShowProjectInfo(c.ProjectInformation()); }},
      {"acWinList", &ShowDialog},
      {"acHelpAbout", &ShowDialog},
      {"acFilePrint", &ShowDialog},
      {"acDimension_2D", &Dimension},
      {"acDimension_3D", &Dimension},
      {"acDimension_Planes", &Dimension},
  };
  // The groups, from the lists that name them.
  const auto add = [&rows](std::string_view name, CommandHandler<C> handler, CommandRules rules = {}) {
    rows.push_back({name, handler, rules});
  };
  for (const ModeRow& m : kModeRows) add(m.Name, [](C& c, std::string_view n) { c.ModeCommand(n); }, kChecked);
  for (const ActionInfo& a : EditorActions())
    if (ElementTypeOfAction(a.Name))
      add(a.Name, [](C& c, std::string_view n) { c.ElementTypeCommand(n); }, kChecked);
  for (const SupportPreset& p : kSupportPresets) add(p.Action, [](C& c, std::string_view n) { c.RestPreset(n); });
  for (std::string_view name : kGridStyleActions)
    add(name, [](C& c, std::string_view n) { c.GridStyle(static_cast<std::uint8_t>(IndexOf(kGridStyleActions, n))); },
        kChecked);
  for (std::string_view name : kUserPresetActions)
    add(name, [](C& c, std::string_view n) {
      c.State().ApplyUserPreset(static_cast<int>(IndexOf(kUserPresetActions, n)));
    });
  for (const EditorBarInfo& b : EditorBars()) add(b.SwitchAction, &FlipBar, kChecked);
  return rows;
}

}  // namespace

const CommandTable<CommandRow<EditorCommands>>& EditorCommands::Table() {
  static const std::vector<Row> rows = EditorCommandRows();
  static const CommandTable<Row> table{rows};
  return table;
}

// ---- project ----

void EditorCommands::FileNew() {
  if (!messages_.Ask(kNewProjectCaption, kNewProjectQuestion)) return;
  if (!ConfirmDropProject()) return;
  DropLoadMode();
  const std::optional<NewTaskAnswer> answer =
      ui_.NewTaskDialog(supervisor_.Task, FloatPoint3D(0, 0, 0), FloatPoint3D(10, 10, 10));
  if (!answer) {
    // The open project stays as it was; without one the editor stays without one.
    if (windows_.Empty()) {
      ui_.SetMainCaption(kNoProjectCaption);
      NoTask();
    }
    return;
  }
  // Only now does the old project go.
  windows_.Clear();
  ui_.SetMainCaption(kNoProjectCaption);
  NewTask();
  supervisor_.SetRegionX1(answer->First.X);
  supervisor_.SetRegionY1(answer->First.Y);
  supervisor_.SetRegionZ1(answer->First.Z);
  supervisor_.SetRegionX2(answer->Second.X);
  supervisor_.SetRegionY2(answer->Second.Y);
  supervisor_.SetRegionZ2(answer->Second.Z);
  supervisor_.Task.Assign(answer->Task);
  ApplyTaskActions();
  supervisor_.SetCurrentWindow(0);
  const Extended p = supervisor_.Task.Precision;
  const int index = windows_.AddWindow(answer->Second, answer->First, Projection::XY, FloatPoint(p, p), 0xFFFFFF, true);
  supervisor_.SetCurrentWindow(index);
  supervisor_.SetWindowCount(windows_.Count());
  project_.Clear();
  MarkSaved();
  ui_.RepaintWindow(0);
  ui_.SetMainCaption(EditorCaption(project_.FileName()));
}

bool EditorCommands::FileOpen() {
  if (!ConfirmDropProject()) return false;
  const std::optional<std::string> name = ui_.AskOpenFileName();
  if (!name) return false;
  return OpenNamed(*name);
}

bool EditorCommands::OpenNamed(const std::string& fileName) {
  try {
    if (!OpenProject(fileName, supervisor_, project_, windows_, messages_)) return false;
  } catch (const std::exception& e) {
    messages_.Error(e.what());
    return false;
  }
  ui_.SetMainCaption(EditorCaption(project_.FileName()));
  NewTask();
  ApplyTaskActions();
  // The copy an interrupted save left is not what the project's own file holds.
  if (project_.FileName() == fileName)
    MarkSaved();
  else
    saved_.Forget();
  return true;
}

void EditorCommands::WriteProject(const std::string& fileName) {
  SaveProject(fileName, supervisor_, project_, windows_);
  MarkSaved();
}

bool EditorCommands::FileSave() {
  if (project_.FileName() != kNoNameFile) {
    try {
      WriteProject(project_.FileName());
    } catch (const std::exception& e) {
      messages_.Error(e.what());
      return false;
    }
    return true;
  }
  return FileSaveAs();
}

bool EditorCommands::FileSaveAs() {
  const std::optional<std::string> name = ui_.AskSaveFileName();
  if (!name) return false;
  return SaveAsNamed(*name);
}

bool EditorCommands::SaveAsNamed(const std::string& fileName) {
  if (ui_.FileExists(fileName) && !messages_.Ask(kSaveFileCaption, ReplaceFileQuestion(fileName))) return false;
  try {
    WriteProject(fileName);
  } catch (const std::exception& e) {
    messages_.Error(e.what());
    return false;
  }
  project_.SetFileName(fileName);
  ui_.SetMainCaption(EditorCaption(fileName));
  return true;
}

bool EditorCommands::ProjectChanged() const {
  return !windows_.Empty() && saved_.Changed(supervisor_, project_, windows_);
}

bool EditorCommands::ConfirmDropProject() {
  if (!ProjectChanged()) return true;
  switch (messages_.Show(MsgKind::Question, kSaveChangesCaption, SaveChangesQuestion(project_.FileName()),
                         MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return FileSave();
    case MsgResult::No: return true;
    default: return false;
  }
}

AutoSaveResult EditorCommands::AutoSave(std::string& failure) {
  if (supervisor_.Options.AutoSave == 0 || project_.FileName() == kNoNameFile || !ProjectChanged())
    return AutoSaveResult::Nothing;
  try {
    WriteProject(project_.FileName());
  } catch (const std::exception& e) {
    failure = AutoSaveFailedText(project_.FileName(), e.what());
    return AutoSaveResult::Failed;
  }
  return AutoSaveResult::Saved;
}

void EditorCommands::NoTask() {
  DropLoadMode();
  state_.EnterNoTask();
}

void EditorCommands::NewTask() { state_.EnterTask(supervisor_.Options.UserKind); }

void EditorCommands::ApplyTaskActions() {
  for (const std::string& name : supervisor_.ApplyTaskActions()) Run(name);
}

// ---- modes ----

void EditorCommands::LeaveLoadMode() {
  if (state_.Checked("acForceConcentrate")) UnselectKnots();
  if (state_.Checked("acForceDispersion")) UnselectElements();
  state_.SetChecked("acForceConcentrate", false);
  if (ui_.LoadDialogOpen()) ui_.CloseLoadDialog();
  state_.SetChecked("acForceDispersion", false);
  state_.SetChecked("acDisplacement", false);
}

void EditorCommands::DropLoadMode() {
  const tavir::WorkMode mode = supervisor_.WorkMode;
  if (ui_.LoadDialogOpen()) ui_.CloseLoadDialog();
  UnselectKnots();
  UnselectElements();
  state_.SetChecked("acForceConcentrate", false);
  state_.SetChecked("acForceDispersion", false);
  state_.SetChecked("acDisplacement", false);
  if (mode == tavir::WorkMode::DistributedLoad || mode == tavir::WorkMode::ConcentratedLoad ||
      mode == tavir::WorkMode::SupportDisplacement) {
    supervisor_.SetWorkMode(tavir::WorkMode::Edit);
    supervisor_.SetInputMode(PickInputMode());
    state_.CheckMode("acModeEdit");
    SetModeCursor();
  }
}

void EditorCommands::ModeCommand(std::string_view name) {
  for (const ModeRow& r : kModeRows) {
    if (r.Name != name) continue;
    supervisor_.SetWorkMode(r.Work);
    if (r.How == NextInput::Pick)
      supervisor_.SetInputMode(PickInputMode());
    else if (r.How == NextInput::Given)
      supervisor_.SetInputMode(r.Input);
    if (r.Cursors) SetModeCursor();
    if (r.ApplySupport) InputRest();
    LeaveLoadMode();
    state_.CheckMode(name);
    if (r.Foreground) BringCurrentForward();
    return;
  }
}

void EditorCommands::InputRest() {
  const std::vector<TEditorKnot*> picked = project_.Knots().Selection();
  bool replaced = false;
  for (TEditorKnot* knot : picked) {
    replaced = replaced || project_.Supports().IndexOfKnot(knot) >= 0;
    SetSupport(project_.Supports(), knot, supervisor_.DefFixation, supervisor_.DefDirection);
  }
  if (picked.empty()) return;
  UnselectKnots();
  // Shown now, as a click in the supports mode shows its support, and not only at
  // the next repaint.
  ShowChangedSymbols(replaced, [this](Canvas& c) { project_.Supports().Draw(c); });
}

void EditorCommands::ForceConcentrate() {
  supervisor_.SetWorkMode(tavir::WorkMode::ConcentratedLoad);
  supervisor_.SetInputMode(PickInputMode());
  SetModeCursor();
  ui_.ShowLoadDialog(supervisor_.DefConcForce);
  if (state_.Checked("acForceDispersion")) UnselectElements();
  state_.CheckMode("acForceConcentrate");
}

void EditorCommands::ForceDispersion() {
  supervisor_.SetWorkMode(tavir::WorkMode::DistributedLoad);
  supervisor_.SetInputMode(PickInputMode());
  SetModeCursor();
  if (state_.Checked("acForceConcentrate")) UnselectKnots();
  ui_.ShowLoadDialog(supervisor_.DefDispForce);
  state_.CheckMode("acForceDispersion");
}

namespace {
// The load dialog shows Mz disabled and never applies it: each item keeps the Mz
// it has (from a file), whatever the box showed for the last knot clicked.
TForceRecord WithOwnMz(TForceRecord applied, const TForceRecord& own) {
  applied.Mz = own.Mz;
  return applied;
}
}  // namespace

void EditorCommands::ApplyConcForces() {
  const std::vector<TEditorKnot*> picked = project_.Knots().Selection();
  bool replaced = false;
  for (TEditorKnot* knot : picked) {
    replaced = replaced || project_.ConcForces().IndexOfKnot(knot) >= 0;
    SetForce(project_.ConcForces(), knot, WithOwnMz(supervisor_.DefConcForce, GetForce(project_.ConcForces(), knot)));
  }
  if (!picked.empty()) UnselectKnots();
  // A new load starts hidden: it takes its knot's visibility in the current window,
  // so that it is drawn now and not only at the next repaint.
  project_.ConcForces().UpdateVisible();
  ShowChangedSymbols(replaced, [this](Canvas& c) { project_.ConcForces().Draw(c); });
}

void EditorCommands::ApplyDispForces() {
  const std::vector<TMLEditorElement*> picked = project_.Elements().Selection();
  for (TMLEditorElement* e : picked)
    SetForce(project_.DispForces(), e, WithOwnMz(supervisor_.DefDispForce, GetForce(project_.DispForces(), e)));
  if (!picked.empty()) UnselectElements();
  project_.DispForces().UpdateVisible();
  if (Canvas* c = CurrentCanvas()) project_.DispForces().Draw(*c);
}

void EditorCommands::SelectFrame() {
  const bool checked = !state_.Checked("AcEdit_SelectFrame");
  state_.SetChecked("AcEdit_SelectFrame", checked);
  const tavir::WorkMode mode = supervisor_.WorkMode;
  if (mode == tavir::WorkMode::Edit || mode == tavir::WorkMode::DistributedLoad || mode == tavir::WorkMode::ConcentratedLoad)
    supervisor_.SetInputMode(checked ? tavir::InputMode::FrameSelection : tavir::InputMode::Pick);
  SetModeCursor();
}

void EditorCommands::ElementTypeCommand(std::string_view name) {
  const std::optional<ElementType> type = ElementTypeOfAction(name);
  if (!type) return;
  supervisor_.SetElementType(*type);
  state_.CheckElementType(name);
}

void EditorCommands::ChoiceRest() {
  const std::optional<SupportAnswer> a = ui_.SupportDialog(supervisor_.DefFixation, supervisor_.DefDirection);
  if (!a) return;
  supervisor_.SetDefFixation(a->Fixation);
  supervisor_.SetDefDirection(a->Direction);
  restButtonAction_ = "acRests_ChoiceRest";
}

void EditorCommands::RestPreset(std::string_view name) {
  for (const SupportPreset& p : kSupportPresets) {
    if (p.Action != name) continue;
    supervisor_.SetDefFixation(p.Fixation);
    restButtonAction_ = std::string(name);
    return;
  }
}

void EditorCommands::LoadDialogApplied(const TForceRecord& force) {
  switch (supervisor_.WorkMode) {
    case tavir::WorkMode::DistributedLoad:
      supervisor_.SetDefDispForce(force);
      Run("AcForce_DispApply");
      break;
    case tavir::WorkMode::ConcentratedLoad:
      supervisor_.SetDefConcForce(force);
      Run("acForce_ConcApply");
      break;
    default: break;
  }
}

// ---- dialogs of the forms ----

void EditorCommands::ServiceParam() {
  const std::optional<SettingsAnswer> a = ui_.SettingsDialog(supervisor_.Options, supervisor_.Task);
  if (!a) return;
  supervisor_.Options.Assign(a->Options);
  supervisor_.Task.Assign(a->Task);
  // The user level's preset follows the dialog's OK only: a dialog that stays open
  // and is then cancelled changes no tool bar.
  const std::string_view preset = UserPresetAction(supervisor_.Options.UserKind);
  if (!preset.empty()) Run(preset);
}

void EditorCommands::NetParametr() {
  TEditorWindow* w = windows_.Current();
  if (w == nullptr) return;
  const TWorkWindow& ww = w->WorkWindow;
  const std::optional<TGrid> g = ui_.GridDialog(w->Grid(), ww.MinPoint, ww.MaxPoint, ww.Projection);
  if (!g) return;
  w->Grid().Assign(*g);
  state_.SyncGrid(w->Grid());
  ShowCurrentAnew();
}

void EditorCommands::ViewPanels() {
  std::array<bool, kEditorBarCount> visible{};
  for (int i = 0; i < kEditorBarCount; ++i) visible[static_cast<std::size_t>(i)] = state_.Bar(i).Visible;
  const std::optional<std::array<bool, kEditorBarCount>> chosen = ui_.PanelsDialog(visible);
  if (!chosen) return;
  for (int i = 0; i < kEditorBarCount; ++i) state_.SetBarVisible(i, (*chosen)[static_cast<std::size_t>(i)]);
}

void EditorCommands::ViewStatusBar() {
  if (windows_.Current() == nullptr) return;
  state_.SetChecked("acViewStatusBar", ui_.ToggleStatusBar(supervisor_.CurrentWindow));
  windows_.ShowWindow(supervisor_.CurrentWindow);
}

void EditorCommands::FormatShells() {
  ShowList(project_.ShellFuncs(), dialogs_);
  ShowCurrentAnew();
}

ProjectInfo EditorCommands::ProjectInformation() const {
  ProjectInfo info;
  info.FileName = ShortName(project_.FileName());
  info.Knots = project_.Knots().Count();
  info.Elements = project_.Elements().Count();
  return info;
}

// ---- selection and editing ----

void EditorCommands::EditDelete() {
  switch (supervisor_.WorkMode) {
    case tavir::WorkMode::Edit: DeleteSelected(project_.Elements(), CurrentCanvas()); break;
    case tavir::WorkMode::ConcentratedLoad:
      while (!project_.Knots().Selection().empty()) {
        TEditorKnot* knot = project_.Knots().Selection().front();
        DeleteAtKnot(project_.ConcForces(), knot);
        project_.Knots().Unselect(knot, CurrentCanvas());
      }
      break;
    default: break;
  }
  // Wiping the deleted elements takes the edges they share with their neighbours
  // and the grid under them off the picture too.
  ShowCurrentAnew();
}

void EditorCommands::SelectAll(bool elements, bool knots) {
  Run("acModeEdit");
  if (windows_.Current() == nullptr) return;
  if (elements) project_.Elements().SelectAll(CurrentCanvas());
  if (knots) project_.Knots().SelectAll(CurrentCanvas());
}

void EditorCommands::ClearSelection() {
  UnselectElements();
  UnselectKnots();
}

void EditorCommands::FormatElement() {
  const std::vector<TMLEditorElement*> picked = project_.Elements().Selection();
  if (picked.empty()) {
    if (!messages_.Ask(kElementPropsCaption, kNoElementSelectedQuestion)) return;
    ElementDialogValues start;
    start.Layers.CopyFrom(supervisor_.DefLayers);
    const std::optional<ElementDialogValues> done =
        dialogs_.ElementProperties(project_.Materials(), supervisor_.ElemKind, start);
    if (done) supervisor_.DefLayers.CopyFrom(done->Layers);
    return;
  }
  if (picked.size() == 1) {
    if (EditProperties(project_.Elements(), picked.front(), dialogs_) == EditOutcome::Changed) ShowCurrentAnew();
    return;
  }
  if (!messages_.Ask(kElementPropsCaption, kManyElementsQuestion)) return;
  const TMLEditorElement* last = picked.back();
  ElementDialogValues start;
  if (IsPlateOrShellKind(last->ElemKind)) start.Layers.CopyFrom(last->Layers);
  if (const auto* shell = dynamic_cast<const TMLEditorShell*>(last); shell != nullptr && last->ElemKind == ElementKind::Shell) {
    start.Kx = shell->Kx;
    start.Ky = shell->Ky;
    start.Kxy = shell->Kxy;
  }
  const std::optional<ElementDialogValues> done =
      dialogs_.ElementProperties(project_.Materials(), last->ElemKind, start);
  if (!done || !messages_.Ask(kElementPropsCaption, kApplyToAllQuestion)) return;
  // The elements are drawn in their layers' brush: the picture shows the new one.
  if (ApplyPropertiesToElements(picked, *done, messages_) > 0) ShowCurrentAnew();
}

void EditorCommands::FormatCharacteristic() {
  // Cancel keeps the current material: the file must not change for a look at the list.
  if (const std::optional<std::int32_t> chosen = project_.Materials().PickMaterial(nullptr))
    supervisor_.SetMaterialIndex(*chosen);
}

BandOptimisation EditorCommands::ServiceOptimize() {
  BandOptimisation r;
  {
    std::unique_ptr<TwoBarProgress> box = ui_.OpenProgressBox();
    r = OptimiseBand(project_, box.get());
  }
  messages_.Show(MsgKind::Information, kOptimizeCaption, BandOptimisationText(r), MsgButtons::Ok);
  return r;
}

// ---- windows and grid ----

void EditorCommands::WinNew() {
  supervisor_.SetWorkMode(tavir::WorkMode::NewWindow);
  SetModeCursor();
  BringCurrentForward();
  state_.SetEnabled("acWinDel", true);
  state_.SetEnabled("acWinDelAll", true);
}

void EditorCommands::WinDel() {
  if (windows_.Current() == nullptr) return;
  const int b = windows_.DeleteWindow(supervisor_.CurrentWindow);
  if (windows_.ShowWindow(b)) supervisor_.SetCurrentWindow(b);
  supervisor_.SetWindowCount(windows_.Count());
  if (const TEditorWindow* w = windows_.Current()) state_.SyncGrid(w->Grid());
}

void EditorCommands::WinDelAll() {
  for (int i = windows_.Count() - 1; i >= 1; --i) supervisor_.SetCurrentWindow(windows_.DeleteWindow(i));
  supervisor_.SetWindowCount(windows_.Count());
  if (windows_.ShowWindow(supervisor_.CurrentWindow)) state_.SyncGrid(windows_.Current()->Grid());
  state_.SetEnabled("acWinDel", false);
  state_.SetEnabled("acWinDelAll", false);
}

void EditorCommands::WinShow(int index) {
  if (!windows_.ShowWindow(index)) return;
  supervisor_.SetCurrentWindow(index);
  // As the desk's activation does; the desk may have been the active window already.
  state_.SetChecked("acViewStatusBar", ui_.StatusBarVisible(index));
  state_.SyncGrid(windows_.Items(index).Grid());
}

void EditorCommands::WinNext() {
  int n = supervisor_.CurrentWindow + 1;
  if (n > windows_.Count() - 1) n = 0;
  WinShow(n);
}

void EditorCommands::WinPred() {
  int n = supervisor_.CurrentWindow - 1;
  if (n < 0) n = windows_.Count() - 1;
  WinShow(n);
}

void EditorCommands::GridStyle(std::uint8_t style) {
  TEditorWindow* w = windows_.Current();
  if (w == nullptr) return;
  w->Grid().SetStyle(style);
  ShowCurrentAnew();
  state_.SyncGrid(w->Grid());
}

void EditorCommands::ToggleShowGrid() {
  TEditorWindow* w = windows_.Current();
  if (w == nullptr) return;
  w->Grid().SetShowGrid(w->Grid().ShowGrid != 0 ? 0 : 1);
  state_.SetChecked("acModeShowGrid", w->Grid().ShowGrid != 0);
  ShowCurrentAnew();
}

void EditorCommands::ToggleSnapGrid() {
  TEditorWindow* w = windows_.Current();
  if (w == nullptr) return;
  w->Grid().SetSnapToGrid(w->Grid().SnapToGrid != 0 ? 0 : 1);
  state_.SetChecked("acModeSnapGrid", w->Grid().SnapToGrid != 0);
  BringCurrentForward();
}

}  // namespace tavir

#include "editor/command_set.h"

#include <algorithm>
#include <stdexcept>

namespace tavir {

namespace {

constexpr ActionKind H = ActionKind::Handler;
constexpr ActionKind I = ActionKind::Inert;
constexpr ActionKind C = ActionKind::Clipboard;

const std::vector<ActionInfo> kActions = {
    // file
    {"acFileNew", "Созд&ать", "Ctrl+N", H},
    {"acFileOpen", "&Открыть", "Ctrl+O", H},
    {"acFileSave", "&Сохранить", "Ctrl+S", H},
    {"acFileSaveAs", "Сохранить &как ...", "", H},
    {"acFilePrint", "&Печать...", "", H},
    {"acFilePreview", "Прос&мотр", "", I},
    {"acFileExport", "&Экспорт", "", I},
    {"acFileImport", "&Импорт", "", I},
    {"acFileExit", "В&ыход", "", H},
    // edit
    {"acEditUndo", "&Отменить", "", I},
    {"acEditRedo", "Пов&торить", "", I},
    {"acEditCut", "&Вырезать", "Ctrl+X", C},
    {"acEditCopy", "&Копировать", "Ctrl+C", C},
    {"acEditPaste", "Вст&авить", "Ctrl+V", C},
    {"acEditSpecPaste", "Сп&ециальная вставка", "", I},
    {"acEditDelete", "&Удалить", "Del", H},
    {"AcEdit_SelectFrame", "Выделить &рамкой", "", H},
    {"AcEdit_SelectAllElems", "Выделить все &элементы", "", H},
    {"AcEdit_SelectAllKnots", "Выделить все у&злы", "", H},
    {"AcEdit_SelectAll", "Вы&делить все", "Ctrl+A", H},
    {"AcEdit_ClearSelection", "Сн&ять выделение", "", H},
    {"acEditChange", "&Изменить", "", I},
    {"acEditFind", "&Найти", "", I},
    {"acEditGoTo", "&Перейти", "", I},
    // view
    {"acViewPanels", "Пан&ели инструментов", "", H},
    {"acViewStatusBar", "&Строка состояния", "", H},
    {"acViewColontitul", "&Колонтитулы", "", I},
    {"acViewDetails", "&Деталей", "", I},
    {"acViewElements", "&Элементов", "", I},
    {"acViewForce", "&Усилий", "", I},
    {"acViewRest", "&Опор", "", I},
    {"acNetDot", "&Точками", "", H},
    {"acNetCross", "&Крестами", "", H},
    {"acNetLine", "&Линиями", "", H},
    {"acNetOther", "&Другая ...", "", H},
    {"acModeShowGrid", "&Показать сетку", "", H},
    {"acModeSnapGrid", "Пр&ивязать к сетке", "", H},
    {"acNetParametr", "&Параметры сетки", "", H},
    {"acViewZoomIn", "Пр&иблизть", "", I},
    {"acViewZoomOut", "&Отдалить", "", I},
    {"acViewActual", "&Актуальный размер", "", I},
    {"acViewScale", "&Масштаб...", "", I},
    // input: element types
    {"ac2DTriangle", "&Треугольник", "", H},
    {"ac2DRectangle", "&Прямоугольник", "", H},
    {"ac2DQuadrangle", "&Четырехугольник", "", H},
    {"ac2dRod", "&Стержень", "", H},
    {"ac3DCube", "&Параллелепипед", "", H},
    {"ac3DTetra", "&Тетраэдр", "", H},
    {"ac3DRod", "&Стержень", "", H},
    {"acPlaneTriangle", "&Треугольный", "", H},
    {"acPlaneRectangle", "&Прямоугольный", "", H},
    {"acPlaneRod", "&Ребро жесткости", "", H},
    // input: modes and loads
    {"acModeKnot", "По &узлам", "", H},
    {"acModeNet", "По &сетке", "", H},
    {"acModeFrame", "&Рамкой", "", H},
    {"acModeEdit", "Р&едактирование", "", H},
    {"acInput_Rest", "&Опоры", "", H},
    {"acForceConcentrate", "&Сосредоточенная нагрузка", "", H},
    {"acForceDispersion", "&Распределенная нагрузка", "", H},
    {"acDisplacement", "Смещение &опор", "", H},
    {"acEditor_SetSurface", "&Задать поверхность", "", H},
    {"acEditorCreate", "&Создать область", "", I},
    {"acEditorEdit", "&Редактировать область", "", I},
    {"acEditorSnap", "&Привязать область", "", I},
    // supports
    {"AcRests_NoRest", "Н&ет опирания", "", H},
    {"AcRests_RestX", "Опора по оси &X", "", H},
    {"AcRests_RestY", "Опора по оси &Y", "", H},
    {"AcRests_RestZ", "Опора по оси &Z", "", H},
    {"AcRests_RestXYZ", "&Шарнирное опирание", "", H},
    {"AcRests_RestFixed", "&Жесткое защемление", "", H},
    {"AcRests_RestXY", "Опора по о&сям XY", "", H},
    {"acRests_ChoiceRest", "Выбрать &условия опирания", "", H},
    {"acForce_ConcApply", "", "", H},
    {"AcForce_DispApply", "", "", H},
    {"acEvulStatic", "&Статический", "", H},
    {"acEvulDinamic", "&Динамический", "", H},
    // insert and templates
    {"acInsertBookmark", "&Закаладки", "", I},
    {"acInsertRegion", "&Область", "", I},
    {"acInsertPicture", "&Рисунок", "", I},
    {"acInsertPattern", "&Шаблон ...", "", I},
    {"acInsertLine", "&Линия привязки", "", I},
    {"acTempLine", "&Линия", "", I},
    {"acTempTriangle", "&Треугольник", "", I},
    {"acTempCircle", "&Окружность", "", I},
    {"acTempPie", "&Сектор", "", I},
    {"acTempEllipse", "&Эллипс", "", I},
    {"acTempRectangle", "&Прямоугольник", "", I},
    {"acTempSin", "С&инусоида", "", I},
    {"acTempCos", "&Косинусоида", "", I},
    // format
    {"acFormatCharacteristic", "&Материалы", "", H},
    {"acFormatTask", "&Задача", "", I},
    {"acFormatDinamics", "&Динамика", "", I},
    {"acFormatElement", "&Тип элемента", "", H},
    {"acFormatDiagram", "Ди&аграмма", "", I},
    {"AcFormat_Shells", "Поверхности...", "", H},
    // service
    {"acServiceClear", "&Корректирование", "", I},
    {"acServiceOptimize", "&Оптимизация", "", H},
    {"acServiceCondence", "&Сгущение", "", I},
    {"acServiceFill", "&Заполнение", "", I},
    {"acServiceParam", "&Параметры", "", H},
    // windows
    {"acWinNew", "&Новое", "", H},
    {"acWinMain", "&Главное", "", H},
    {"acWinNext", "Сл&едующее", "", H},
    {"acWinPred", "&Предыдущее", "", H},
    {"acWinList", "&Список окон", "Alt+0", H},
    {"acWinDel", "&Удалить окно", "", H},
    {"acWinDelAll", "Удалить &все окна", "", H},
    {"acWinParams", "Свойства &окна", "", I},
    // help
    {"acHelpAbout", "&О программе", "", H},
    {"acHelpProjectInfo", "&Информация о проекте", "", H},
    // on no menu
    {"acNoTask", "", "", H},
    {"AcNewTask", "", "", H},
    {"acDimension_2D", "", "", H},
    {"acDimension_3D", "", "", H},
    {"acDimension_Planes", "", "", H},
    {"AcUserNoviceSettings", "", "", H},
    {"AcUserProfessionalSettings", "", "", H},
    {"AcUserExpertSettings", "", "", H},
    // tool-bar switches
    {"acPanelMainMenu", "&Главное меню", "", H},
    {"acPanelStandart", "&Стандартная", "", H},
    {"acPanelInputMode", "&Режим ввода", "", H},
    {"acPanelGrid", "Сетка &координат", "", H},
    {"acPanel2dElement", "&Плоские элементы", "", H},
    {"acPanel3DElement", "&Объемные элементы", "", H},
    {"acPanelInsert", "&Вставка", "", H},
    {"acPanelTemps", "&Шаблоны", "", H},
    {"acPanelScale", "&Масштаб", "", H},
    {"acPanelData", "Внешние &данные", "", H},
    {"acPanelService", "Серв&ис", "", H},
};

const std::array<EditorBarInfo, kEditorBarCount> kBars = {{
    {"ToolBar_Menu", "Главное меню", "acPanelMainMenu"},
    {"TBar_Standart", "Стандартная", "acPanelStandart"},
    {"TBar_InputMode", "Ввод", "acPanelInputMode"},
    {"TBar_Grid", "Сетка координат", "acPanelGrid"},
    {"TBar_2DElements", "Плоские элементы", "acPanel2dElement"},
    {"TBar_3DElements", "Объемные элементы", "acPanel3DElement"},
    {"TBar_Insert", "Вставка", "acPanelInsert"},
    {"TBar_Temps", "Шаблоны", "acPanelTemps"},
    {"TBar_Scale", "Масштаб", "acPanelScale"},
    {"TBar_Data", "Внешние данные", "acPanelData"},
    {"TBar_Service", "Сервис", "acPanelService"},
}};

using Names = std::vector<std::string_view>;

const std::vector<EditorMenuInfo> kMenus = {
    {"PupMenu_File", "ToolBtn_MenuFile", "Файл",
     {"acFileNew", "acFileOpen", "acFileSave", "acFileSaveAs", "-", "acFilePrint", "acFilePreview", "-",
      "acFileExport", "acFileImport", "-", "acFileExit"}},
    {"PupMenu_Edit", "ToolBtn_MenuEdit", "Правка",
     {"acEditUndo", "acEditRedo", "-", "acEditCut", "acEditCopy", "acEditPaste", "acEditSpecPaste", "acEditDelete",
      "-", ">Выделить", "AcEdit_SelectFrame", "AcEdit_SelectAllElems", "AcEdit_SelectAllKnots", "AcEdit_SelectAll",
      "<", "AcEdit_ClearSelection", "-", "acEditChange", "acEditFind", "acEditGoTo"}},
    {"PupMenu_View", "ToolBtn_MenuView", "Вид",
     {"acViewPanels", "acViewStatusBar", "acViewColontitul", "-", ">&Просмотр", "acViewDetails", "acViewElements",
      "acViewForce", "acViewRest", "<", "-", ">&Сетка", "acNetDot", "acNetCross", "acNetLine", "acNetOther", "-",
      "acModeShowGrid", "acModeSnapGrid", "-", "acNetParametr", "<", "-", "acViewZoomIn", "acViewZoomOut",
      "acViewActual", "acViewScale"}},
    {"PupMenu_Input", "ToolBtn_MenuInput", "Ввод",
     {">&Элемент", ">&Двумерный", "ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod", "<", ">&Объемный",
      "ac3DTetra", "ac3DCube", "ac3DRod", "<", ">&Пластины и оболочки", "acPlaneTriangle", "acPlaneRectangle",
      "acPlaneRod", "<", "<", ">&Нагрузка", "acForceConcentrate", "acForceDispersion", "acDisplacement", "<",
      ">&Режим ввода", "acModeKnot", "acModeNet", "acModeFrame", "-", "acModeEdit", "<", "acInput_Rest", "-",
      ">Ре&дактор областей", "acEditorCreate", "acEditorEdit", "acEditorSnap", "<"}},
    {"PupMenu_Insert", "ToolBtn_MenuInsert", "Вставка",
     {"acInsertRegion", ">&Шаблоны", "acTempLine", "acTempTriangle", "acTempCircle", "acTempPie", "acTempEllipse",
      "acTempRectangle", "acTempSin", "acTempCos", "acInsertPattern", "<", "acInsertBookmark", "acInsertLine",
      "acInsertPicture"}},
    {"PupMenu_Format", "ToolBtn_MenuFormat", "Формат",
     {"acFormatCharacteristic", "acFormatTask", "acFormatDinamics", "acFormatElement", "acFormatDiagram",
      "AcFormat_Shells"}},
    {"PupMenu_Service", "ToolBtn_MenuService", "Сервис",
     {"acServiceClear", "acServiceOptimize", "acServiceCondence", "acServiceFill", "-", "acServiceParam"}},
    {"PupMenu_Window", "ToolBtn_MenuWindow", "Окно",
     {"acWinNew", "acWinMain", "acWinNext", "acWinPred", "acWinList", "-", "acWinDel", "acWinDelAll"}},
    {"PupMenu_Help", "ToolBtn_MenuHelp", "Справка", {"acHelpAbout", "acHelpProjectInfo"}},
    {"PupMenu_Rests", "", "",
     {"AcRests_NoRest", "AcRests_RestX", "AcRests_RestY", "AcRests_RestZ", "AcRests_RestXYZ", "AcRests_RestFixed",
      "-", "acRests_ChoiceRest"}},
    {"PM_Panels", "", "",
     {"acPanelMainMenu", "acPanelStandart", "acPanelInputMode", "acPanelGrid", "acPanel2dElement",
      "acPanel3DElement", "acPanelInsert", "acPanelTemps", "acPanelScale", "acPanelData", "acPanelService"}},
};

const std::array<Names, kEditorBarCount> kBarButtons = {{
    {},
    {"acFileNew", "acFileOpen", "acFileSave", "-", "acFilePrint", "acFilePreview", "-", "acEditCut", "acEditCopy",
     "acEditPaste", "-", "acEditUndo", "acEditRedo", "-", "acEditDelete", "acForceConcentrate", "acForceDispersion",
     "acDisplacement", "ToolBtn_Rest_Set"},
    {"acModeEdit", "AcEdit_SelectFrame", "acModeKnot", "acModeNet", "acModeFrame", "acInput_Rest",
     "acEditor_SetSurface"},
    {"acNetDot", "acNetCross", "acNetLine", "acNetOther", "acModeShowGrid", "acModeSnapGrid"},
    {"ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod"},
    {"ac3DCube", "ac3DTetra", "ac3DRod", "acPlaneTriangle", "acPlaneRectangle", "acPlaneRod"},
    {"acInsertBookmark", "acInsertLine", "acInsertPicture", "acInsertPattern", "acInsertRegion", "acEditorCreate",
     "acEditorEdit", "acEditorSnap", "acEditor_SetSurface"},
    {"acTempLine", "acTempTriangle", "acTempCircle", "acTempEllipse", "acTempPie", "acTempRectangle", "acTempSin",
     "acTempCos"},
    {"acViewScale", "acViewZoomIn", "acViewZoomOut", "acViewActual", "acViewDetails", "acViewElements",
     "acViewForce", "acViewRest"},
    {"acFileExport", "acFileImport"},
    {"acServiceClear", "acServiceOptimize", "acServiceCondence", "acServiceFill", "acServiceParam"},
}};

struct ElementTypeCommand {
  std::string_view Name;
  ElementType Type;
  Names Unchecked;
};
const std::vector<ElementTypeCommand> kElementTypes = {
    {"ac2DTriangle", ElementType::Triangle, {"ac2DRectangle", "ac2DQuadrangle", "ac2dRod"}},
    {"ac2DRectangle", ElementType::Rectangle, {"ac2DTriangle", "ac2DQuadrangle", "ac2dRod"}},
    {"ac2DQuadrangle", ElementType::QuadrangleInput, {"ac2DTriangle", "ac2DRectangle", "ac2dRod"}},
    {"ac2dRod", ElementType::Rod, {"ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle"}},
    {"ac3DCube", ElementType::Parallelepiped, {"ac3DTetra", "ac3DRod", "acPlaneTriangle", "acPlaneRectangle"}},
    {"ac3DTetra", ElementType::Tetrahedron, {"ac3DCube", "ac3DRod", "acPlaneTriangle", "acPlaneRectangle"}},
    {"ac3DRod", ElementType::SolidRod, {"ac3DTetra", "ac3DCube", "acPlaneTriangle", "acPlaneRectangle"}},
    {"acPlaneTriangle", ElementType::Triangle, {"acPlaneRectangle", "ac3DTetra", "ac3DCube", "ac3DRod", "acPlaneRod"}},
    {"acPlaneRectangle", ElementType::Rectangle, {"acPlaneTriangle", "ac3DTetra", "ac3DCube", "ac3DRod", "acPlaneRod"}},
    {"acPlaneRod", ElementType::Rod, {"acPlaneTriangle", "acPlaneRectangle", "ac3DTetra", "ac3DCube", "ac3DRod"}},
};

struct DimensionCommand {
  std::string_view Name;
  Names Enabled;
  Names Disabled;  // and unchecked
};
const std::vector<DimensionCommand> kDimensions = {
    {"acDimension_2D",
     {"ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod"},
     {"ac3DCube", "ac3DTetra", "ac3DRod", "acPlaneRod", "acPlaneTriangle", "acPlaneRectangle"}},
    {"acDimension_3D",
     {"ac3DCube", "ac3DTetra", "ac3DRod", "acPlaneTriangle", "acPlaneRectangle"},
     {"acPlaneRod", "ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod"}},
    {"acDimension_Planes",
     {"acPlaneTriangle", "acPlaneRectangle", "acPlaneRod"},
     {"ac3DCube", "ac3DTetra", "ac3DRod", "ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod"}},
};

// The bars each state and preset touches.
constexpr std::array<int, 7> kTaskBars = {kBarInputMode, kBarScale, kBarInsert, kBar3DElements,
                                          kBar2DElements, kBarService, kBarTemps};

}  // namespace

const std::vector<ActionInfo>& EditorActions() { return kActions; }

const ActionInfo* FindEditorAction(std::string_view name) {
  for (const ActionInfo& a : kActions)
    if (a.Name == name) return &a;
  return nullptr;
}

const std::array<EditorBarInfo, kEditorBarCount>& EditorBars() { return kBars; }

const std::vector<EditorMenuInfo>& EditorMenus() { return kMenus; }

const std::vector<std::string_view>& EditorBarButtons(int bar) { return kBarButtons.at(static_cast<std::size_t>(bar)); }

std::array<bool, kEditorBarCount> RestoredBarChecks() {
  std::array<bool, kEditorBarCount> on{};
  for (int b = kBarMainMenu; b <= kBar3DElements; ++b) on[static_cast<std::size_t>(b)] = true;
  return on;
}

std::optional<ElementType> ElementTypeOfAction(std::string_view name) {
  for (const ElementTypeCommand& c : kElementTypes)
    if (c.Name == name) return c.Type;
  return std::nullopt;
}

std::string_view UserPresetAction(int userLevel) {
  if (userLevel < 0 || userLevel >= static_cast<int>(kUserPresetActions.size())) return {};
  return kUserPresetActions[static_cast<std::size_t>(userLevel)];
}

CommandSetState::CommandSetState() {
  for (const ActionInfo& a : kActions) actions_.emplace(std::string(a.Name), ActionState{});
  for (const EditorBarInfo& b : kBars) Mutable(b.SwitchAction).Checked = true;
  for (std::string_view b : kTaskMenuButtons) menuButtons_.emplace(std::string(b), true);
  panelMainMenuChecked_ = true;
}

const ActionState& CommandSetState::Action(std::string_view name) const {
  const auto it = actions_.find(name);
  if (it == actions_.end()) throw std::out_of_range("Нет команды " + std::string(name));
  return it->second;
}

ActionState& CommandSetState::Mutable(std::string_view name) {
  const auto it = actions_.find(name);
  if (it == actions_.end()) throw std::out_of_range("Нет команды " + std::string(name));
  return it->second;
}

void CommandSetState::SetEnabled(std::string_view name, bool enabled) { Mutable(name).Enabled = enabled; }

void CommandSetState::SetChecked(std::string_view name, bool checked) { Mutable(name).Checked = checked; }

void CommandSetState::SetBarVisible(int index, bool visible) {
  bars_.at(static_cast<std::size_t>(index)).Visible = visible;
  Mutable(kBars.at(static_cast<std::size_t>(index)).SwitchAction).Checked = visible;
}

bool CommandSetState::MenuButtonEnabled(std::string_view name) const {
  const auto it = menuButtons_.find(name);
  return it == menuButtons_.end() ? true : it->second;
}

void CommandSetState::EnterNoTask() {
  for (auto& [name, enabled] : menuButtons_) enabled = false;
  for (std::string_view a : kTaskActions) SetEnabled(a, false);
  panelsMenuOpens_ = false;
  for (int b : kTaskBars) {
    SetBarVisible(b, false);
    SetBarEnabled(b, false);
  }
  SetBarVisible(kBarGrid, false);
}

void CommandSetState::EnterTask(int userLevel) {
  for (auto& [name, enabled] : menuButtons_) enabled = true;
  for (std::string_view a : kTaskActions) SetEnabled(a, true);
  panelsMenuOpens_ = true;
  panelMainMenuChecked_ = true;
  for (int b : kTaskBars) SetBarEnabled(b, true);
  SetBarEnabled(kBarGrid, true);
  ApplyUserPreset(userLevel);
}

void CommandSetState::ApplyUserPreset(int userLevel) {
  if (userLevel < 0 || userLevel > 2) return;
  for (int b : {kBarMainMenu, kBarStandart, kBarInputMode, kBarGrid}) SetBarVisible(b, true);
  for (int b : {kBar2DElements, kBar3DElements, kBarService}) SetBarVisible(b, userLevel <= 1);
  for (int b : {kBarScale, kBarTemps, kBarInsert, kBarData}) SetBarVisible(b, userLevel == 0);
  if (userLevel == 2) SetBarEnabled(kBarGrid, true);
}

void CommandSetState::CheckElementType(std::string_view name) {
  for (const ElementTypeCommand& c : kElementTypes) {
    if (c.Name != name) continue;
    SetChecked(c.Name, true);
    for (std::string_view u : c.Unchecked) SetChecked(u, false);
    return;
  }
}

void CommandSetState::ApplyDimension(std::string_view name) {
  for (const DimensionCommand& d : kDimensions) {
    if (d.Name != name) continue;
    for (std::string_view a : d.Enabled) SetEnabled(a, true);
    for (std::string_view a : d.Disabled) {
      SetEnabled(a, false);
      SetChecked(a, false);
    }
    return;
  }
}

void CommandSetState::CheckMode(std::string_view name) {
  for (std::string_view a : kModeActions) SetChecked(a, a == name);
}

void CommandSetState::CheckEvulKind(int kind) {
  SetChecked("acEvulStatic", kind == 0);
  SetChecked("acEvulDinamic", kind == 1);
}

void CommandSetState::SyncGrid(const TGrid& grid) {
  if (grid.Style < kGridStyleActions.size())
    for (std::size_t i = 0; i < kGridStyleActions.size(); ++i) SetChecked(kGridStyleActions[i], i == grid.Style);
  SetChecked("acModeSnapGrid", grid.SnapToGrid != 0);
  SetChecked("acModeShowGrid", grid.ShowGrid != 0);
}

}  // namespace tavir

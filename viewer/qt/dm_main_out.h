#pragma once
// The command module of the analysis program: every command as a QAction named
// as in the command list (objectName), its handler (`...Execute`), the pop-up menus
// of the main form's menu buttons, the open and export dialogs and the cursors.
// The handlers reach the analysis project and the result views through the
// CalcContext the main form gives when it has created them.
//
// No exception leaves a handler: each runs guarded, closes what it opened and shows
// "Ошибка". While a computation runs every command is disabled, and a handler run
// by name then does nothing.
#include <QCursor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

#include "platform/qt/action_registry.h"
#include "platform/services.h"
#include "viewer/graph_windows.h"
#include "viewer/qt/calc_status.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_project.h"
#include "viewer/viewer_scene.h"

class QAction;
class QMenu;
class QWidget;

namespace tavir {

class CalcDesks;
class CursorTable;
class TRSFormOut;

// What the handlers act on; owned by the main form.
struct CalcContext {
  TViewerProject* Project = nullptr;
  TGraphWindows* Windows = nullptr;
  ViewerScene* Scene = nullptr;
  CalcDesks* Desks = nullptr;
  TRSFormOut* MainForm = nullptr;
};


class TDM_OutMain : public QObject {
  Q_OBJECT
 public:
  struct ActionSpec {
    const char* Name;
    const char* Caption;
    const char* Shortcut;  // "" none
    bool Checkable;
    void (TDM_OutMain::*Handler)();  // nullptr: laid out, does nothing
  };

  // DataModuleCreate: the actions, the menus and the six cursors (a cursor that
  // does not load gives its warning and start-up goes on).
  explicit TDM_OutMain(MessageService& messages, QObject* parent = nullptr);
  ~TDM_OutMain() override;

  static const std::vector<ActionSpec>& ActionTable();

  MessageService& Messages() { return messages_; }
  void Attach(const CalcContext& context);
  void Detach();
  const CalcContext& Context() const { return ctx_; }

  ActionRegistry& Registry() { return registry_; }
  QAction* Action(const QString& name) const;
  QStringList ActionNames() const;
  bool HasHandler(const QString& name) const;
  // Chooses the command as a user would, its enabled state aside: a checkable one
  // toggles, then its handler runs (guarded). False for an unknown name.
  bool Run(const QString& name);
  QMenu* PopupMenu(const QString& name) const;

  // The cursor of a slot (1..6 as loaded; the default arrow for 0 and for a slot
  // whose resource did not load).
  QCursor Cursor(int slot) const;

  // Enables the commands by the busy state and whether a view exists.
  void UpdateCommandStates();
  // The grid commands' check marks from a grid.
  void SyncGridActions(const TGrid& grid);
  bool Busy() const { return busy_; }
  // What every status window of a computation is made with (its timing, what runs
  // at its event pumps).
  CalcStatusSeam& StatusSeam() { return statusSeam_; }

  // ---- handlers ----
  void acFileOpenExecute();
  void acFileExportExecute();
  void AcSolve_StaticCalculateExecute();
  void AcSolv_AdaptationExecute();
  void Ac_IsoLineUxExecute();
  void Ac_IsoLineVyExecute();
  void Ac_IsoLineWzExecute();
  void Ac_IsoLineRxExecute();
  void Ac_IsoLineRyExecute();
  void Ac_IsoLineSxExecute();
  void Ac_IsoLineSyExecute();
  void Ac_IsoLineTxyExecute();
  void AcService_DrawModesExecute();
  void AcService_SectionExecute();
  void acWinNewExecute();
  void AcVMode_ViewerExecute();
  void AcService_Create3DExecute();
  void AcService_InfoShellExecute();
  void AcGrid_ParamsExecute();
  void AcGrid_DotExecute();
  void AcGrid_CrossExecute();
  void AcGrid_LineExecute();
  void AcGrid_OtherExecute();
  void AcGrid_ShowExecute();
  void AcGrid_SnapToGridExecute();
  void acViewZoomInExecute();
  void acViewZoomOutExecute();
  void acViewScaleExecute();
  void acViewActualExecute();

 private:
  void BuildActions();
  void BuildMenus();
  void LoadCursors();
  void Guarded(const QString& name, const std::function<void()>& body);
  void CloseTransientWindows();
  void Isolines(const char* action);
  void GridStyle(std::uint8_t style);
  void SetBusy(bool busy);
  QWidget* DialogParent() const;

  MessageService& messages_;
  CalcContext ctx_;
  ActionRegistry registry_;
  std::map<QString, bool> handled_;  // the commands with a handler
  std::map<QString, QMenu*> menus_;
  std::vector<std::unique_ptr<QMenu>> ownedMenus_;
  std::unique_ptr<CursorTable> cursors_;
  bool busy_ = false;
  CalcStatusSeam statusSeam_;
};

}  // namespace tavir

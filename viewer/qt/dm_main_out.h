#pragma once
// The command module of the analysis program: every command of the command table
// (kViewerCommands) as a QAction named as the command (objectName), its handler
// (`...Execute`, the table's handler interface), the pop-up menus of the main
// form's menu buttons, the open and export dialogs and the cursors.
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


class TDM_OutMain : public QObject, public ViewerCommandHandlers {
  Q_OBJECT
 public:
  // DataModuleCreate: the actions, the menus and the six cursors (a cursor that
  // does not load gives its warning and start-up goes on).
  explicit TDM_OutMain(MessageService& messages, QObject* parent = nullptr);
  ~TDM_OutMain() override;

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
  void acFileOpenExecute() override;
  void acFileExportExecute() override;
  void AcSolve_StaticCalculateExecute() override;
  void AcSolv_AdaptationExecute() override;
  void Ac_IsoLineUxExecute() override;
  void Ac_IsoLineVyExecute() override;
  void Ac_IsoLineWzExecute() override;
  void Ac_IsoLineRxExecute() override;
  void Ac_IsoLineRyExecute() override;
  void Ac_IsoLineSxExecute() override;
  void Ac_IsoLineSyExecute() override;
  void Ac_IsoLineTxyExecute() override;
  void AcService_DrawModesExecute() override;
  void AcService_SectionExecute() override;
  void acWinNewExecute() override;
  void AcVMode_ViewerExecute() override;
  void AcService_Create3DExecute() override;
  void AcService_InfoShellExecute() override;
  void AcGrid_ParamsExecute() override;
  void AcGrid_DotExecute() override;
  void AcGrid_CrossExecute() override;
  void AcGrid_LineExecute() override;
  void AcGrid_OtherExecute() override;
  void AcGrid_ShowExecute() override;
  void AcGrid_SnapToGridExecute() override;
  void acViewZoomInExecute() override;
  void acViewZoomOutExecute() override;
  void acViewScaleExecute() override;
  void acViewActualExecute() override;

 private:
  void BuildActions();
  void BuildMenus();
  void LoadCursors();
  // Runs the command's handler unless a computation or a dialog is under way,
  // catching what it throws; the command states follow.
  void Guarded(const ViewerCommand& command);
  void CloseTransientWindows();
  void Isolines(const char* action);
  void GridStyle(std::uint8_t style);
  void SetBusy(bool busy);
  QWidget* DialogParent() const;

  MessageService& messages_;
  CalcContext ctx_;
  ActionRegistry registry_;
  std::map<QString, QMenu*> menus_;
  std::vector<std::unique_ptr<QMenu>> ownedMenus_;
  std::unique_ptr<CursorTable> cursors_;
  bool busy_ = false;
  CalcStatusSeam statusSeam_;
};

}  // namespace tavir

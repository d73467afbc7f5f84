#pragma once
// The main form of the analysis program: a strip of tool bars across the top of
// the screen. It creates the analysis project and the result views when it is
// created and frees the project, then the views, when it is destroyed.
#include <QMainWindow>
#include <memory>

#include "viewer/graph_windows.h"
#include "viewer/viewer_project.h"
#include "viewer/viewer_scene.h"

class QToolBar;

namespace tavir {

class CalcDesks;
class CalcHooks;
class ImageProvider;
class TDM_OutMain;
class TInfoDlgForm;
class CalcProgressBoxes;

class TRSFormOut : public QMainWindow {
  Q_OBJECT
 public:
  // FormCreate: the project, the views and their desks; the command module gets them.
  TRSFormOut(TDM_OutMain& commands, MessageService& messages, const ImageProvider* images = nullptr,
             QWidget* parent = nullptr);
  // FormDestroy: the project, then the views.
  ~TRSFormOut() override;

  TViewerProject& Project() { return *project_; }
  TGraphWindows& Windows() { return *windows_; }
  CalcDesks& Desks() { return *desks_; }
  TViewerScene& Scene() { return *scene_; }
  TDM_OutMain& Commands() { return commands_; }

  // The program's two-bar progress box, which the preparations of knot values show
  // (without one each preparation makes its own).
  void SetInfoDlg(TInfoDlgForm* box);

  // The caption with the file name part of the project's file name.
  void UpdateCaption();
  // The strip across the top of the screen, as wide as the screen.
  void ShowAsStrip();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildToolBars();
  void FitToBars();
  QToolBar* AddBar(const char* name, const char* caption);

  TDM_OutMain& commands_;
  MessageService& messages_;
  std::unique_ptr<CalcDesks> desks_;
  std::unique_ptr<TGraphWindows> windows_;
  std::unique_ptr<TViewerProject> project_;
  std::unique_ptr<TViewerScene> scene_;
  std::unique_ptr<CalcHooks> hooks_;
  std::unique_ptr<CalcProgressBoxes> boxes_;
};

}  // namespace tavir

#pragma once
// The analysis project's requests carried out on the result views: opening a
// file replaces the views by view 0 and shows its desk cleared, Clear hides the
// section line, repaints go to the desks. Running a command by name and the grid
// commands' check marks belong to the command set: the GUI derives from this class
// and adds them (RunAction, SyncGridActions).
#include "viewer/graph_windows.h"
#include "viewer/viewer_project.h"
#include "viewer/viewer_scene.h"

namespace tavir {

class ResultViewsHooks : public ViewerHooks {
 public:
  ResultViewsHooks(TGraphWindows& windows, TViewerScene& scene) : windows_(windows), scene_(scene) {}

  // Every view (and desk) is freed; view 0 takes the stored window; its desk is
  // shown with background and grid only.
  void WindowLoaded(const TAnalysisWindowData& window) override;
  // The section line is no longer shown.
  void ProjectCleared() override;
  void RepaintCurrentView() override { windows_.RepaintCurrent(); }
  void RepaintAllViews() override { windows_.RepaintAll(); }

 protected:
  TGraphWindows& Windows() { return windows_; }
  TViewerScene& Scene() { return scene_; }

 private:
  TGraphWindows& windows_;
  TViewerScene& scene_;
};

}  // namespace tavir

#pragma once
// The status window of one computation as the analysis project sees it: stage
// rows, cells, bar and label go to the window; pump points and (throttled)
// progress callbacks process events, which is how Break, Escape and closing any
// window reach the computation while it runs on the GUI thread.
#include <QPointer>
#include <chrono>
#include <functional>
#include <memory>

#include "viewer/qt/calc_pump.h"
#include "viewer/qt/status_form.h"
#include "viewer/viewer_project.h"

namespace tavir {

class CalcStatusWindow : public TCalcStatus {
 public:
  CalcStatusWindow(TViewerProject& project, BreakMode mode, QWidget* parent = nullptr);
  ~CalcStatusWindow() override;
  CalcStatusWindow(const CalcStatusWindow&) = delete;
  CalcStatusWindow& operator=(const CalcStatusWindow&) = delete;

  void ShowStatus() override;
  void HideStatus() override;
  void SetStage(int row) override;
  void SetCell(int col, int row, const std::string& text) override;
  void SetBar(long long position, long long maximum) override;
  void SetLabel(const std::string& text) override;
  void Pump() override;

  // The window while it is shown (nullptr before and after).
  TStatusForm* Form() const { return form_.data(); }

  // Runs at every event pump (tests press Break from here).
  static std::function<void(CalcStatusWindow&)>& PumpHook();
  // How often progress callbacks process events (tests: every time).
  static std::chrono::milliseconds& PumpInterval();

 private:
  void ProcessEvents();

  TViewerProject& project_;
  QWidget* parent_;
  QPointer<TStatusForm> form_;
  PumpThrottle throttle_;
  BreakPolicy policy_;
};

}  // namespace tavir

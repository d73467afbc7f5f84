#pragma once
// The status window of one computation as the analysis project sees it: stage
// rows, cells, bar and label go to the window; pump points and (throttled)
// progress callbacks process events, which is how Break, Escape and closing any
// window reach the computation while it runs on the GUI thread. Stage points and
// progress callbacks cost the computation a clock reading: events are processed,
// and so the windows painted, a few dozen times a second at most (calc_pump.h).
#include <QPointer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "viewer/qt/calc_pump.h"
#include "viewer/qt/status_form.h"
#include "viewer/viewer_project.h"

namespace tavir {

class CalcStatusWindow;

// What the maker of the status windows gives each one: how often it processes
// events and when it appears (read when the window is made), what runs at every
// event pump (read at each pump; tests press Break from it), and the clock those
// times are measured on (the steady clock when empty; tests drive their own).
struct CalcStatusSeam {
  PumpTiming Timing;
  std::function<void(CalcStatusWindow&)> OnPump;
  std::function<PumpThrottle::Clock::time_point()> Now;
};

class CalcStatusWindow : public CalcStatus {
 public:
  // Without a seam: the default timing and nothing at the pumps.
  CalcStatusWindow(TViewerProject& project, BreakMode mode, QWidget* parent = nullptr,
                   const CalcStatusSeam* seam = nullptr);
  ~CalcStatusWindow() override;
  CalcStatusWindow(const CalcStatusWindow&) = delete;
  CalcStatusWindow& operator=(const CalcStatusWindow&) = delete;

  // The window is made and shown at the first pump after the show delay, with
  // everything the computation has written so far.
  void ShowStatus() override;
  void HideStatus() override;
  void SetStage(int row) override;
  void SetCell(int col, int row, const std::string& text) override;
  void SetBar(long long position, long long maximum) override;
  void SetLabel(const std::string& text) override;
  void Pump() override;

  // The window while it is shown (nullptr before and after).
  TStatusForm* Form() const { return form_.data(); }

  // The bar's position and maximum as the computation last reported them (the
  // window shows them at the next pump).
  long long BarPosition() const { return barPosition_; }
  long long BarMaximum() const { return barMaximum_; }
  // The stage row the computation entered last (0 before the first).
  int Stage() const { return stage_; }
  // How many times events were processed.
  long long Pumps() const { return pumps_; }

 private:
  PumpThrottle::Clock::time_point Now() const;
  void PumpIfDue();
  void MakeForm();
  void ShowBar();
  void ProcessEvents();

  TViewerProject& project_;
  QWidget* parent_;
  const CalcStatusSeam* seam_;
  QPointer<TStatusForm> form_;
  PumpTiming timing_;
  PumpThrottle throttle_;
  BreakPolicy policy_;
  // What the computation wrote, kept for a window made later.
  bool wanted_ = false;
  PumpThrottle::Clock::time_point wantedSince_{};
  int stage_ = 0;
  std::map<std::pair<int, int>, std::string> cells_;
  std::string label_;
  long long barPosition_ = 0;
  long long barMaximum_ = 0;
  long long shownPosition_ = -1;
  long long shownMaximum_ = -1;
  long long pumps_ = 0;
};

}  // namespace tavir

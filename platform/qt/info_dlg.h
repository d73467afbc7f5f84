#pragma once
// The two-bar progress box that long operations of both programs show while they
// run: a caption and a bar for the current stage, a caption and a bar for the
// whole job. Shown without modality; the work runs in the GUI thread without
// returning to the event loop, so a change is painted at once when it shows.
//
// The work may report every item of thousands: a position that comes sooner than
// a person could see it after the bar's last change waits for the next report
// that comes later, a caption, Pump() or the bar's start or end. Bounds, the
// start and the end are shown at once.
#include <QDialog>
#include <QLabel>
#include <chrono>
#include <string>

#include "platform/qt/progress_bar.h"
#include "platform/services.h"

namespace tavir {

class TInfoDlgForm : public QDialog, public ProgressObserver {
  Q_OBJECT
 public:
  explicit TInfoDlgForm(QWidget* parent = nullptr);

  QLabel* Lbl_Current;
  ProgressBar* PrgBar_Current;
  QLabel* Lbl_Total;
  ProgressBar* PrgBar_Total;

  // Captions, painted at once.
  void SetCurrentCaption(const QString& text);
  void SetTotalCaption(const QString& text);
  // Shows the box without modality, centred on the screen, optionally on top.
  void ShowModeless(bool stayOnTop = false);

  // The observer: bar and label 1 are the current stage, bar and label 2 the
  // whole job; positions beyond the int range are scaled down.
  void SetBar(long long position, long long maximum) override;
  void SetLabel(const std::string& text) override;
  void SetBar2(long long position, long long maximum) override;
  void SetLabel2(const std::string& text) override;
  // Lets the window system paint and move the box; no user input is taken.
  void Pump() override;

  // The fastest the observer repaints a bar.
  static constexpr std::chrono::milliseconds kRepaintInterval{33};

 private:
  // What the work last reported for a bar, in the bar's int counts.
  struct BarFeed {
    ProgressBar* Bar;
    int Position = 0;
    int Maximum = 100;
    bool Pending = false;  // reported but not shown yet
    std::chrono::steady_clock::time_point Shown{};
  };
  void Feed(BarFeed& feed, long long position, long long maximum);
  static void Show(BarFeed& feed);
  // The positions not shown yet, shown now.
  void ShowPending();

  BarFeed current_;
  BarFeed total_;
};

}  // namespace tavir

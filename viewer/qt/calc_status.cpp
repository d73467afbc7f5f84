#include "viewer/qt/calc_status.h"

#include <QApplication>

#include "platform/qt/window_place.h"

namespace tavir {

CalcStatusWindow::CalcStatusWindow(TViewerProject& project, BreakMode mode, QWidget* parent,
                                   const CalcStatusSeam* seam)
    : project_(project),
      parent_(parent),
      seam_(seam),
      timing_(seam ? seam->Timing : PumpTiming{}),
      throttle_(timing_.Interval),
      policy_(mode) {}

CalcStatusWindow::~CalcStatusWindow() { HideStatus(); }

PumpThrottle::Clock::time_point CalcStatusWindow::Now() const {
  return seam_ != nullptr && seam_->Now ? seam_->Now() : PumpThrottle::Clock::now();
}

void CalcStatusWindow::ShowStatus() {
  if (wanted_) return;
  wanted_ = true;
  wantedSince_ = Now();
  if (timing_.ShowDelay.count() <= 0) MakeForm();
}

void CalcStatusWindow::MakeForm() {
  if (form_) return;
  form_ = new TStatusForm([this] { project_.SetBreakFlag(true); }, parent_);
  form_->setAttribute(Qt::WA_DeleteOnClose, false);
  for (const auto& [at, text] : cells_) form_->SetCell(at.first, at.second, QString::fromStdString(text));
  form_->SetProcessText(QString::fromStdString(label_));
  shownPosition_ = shownMaximum_ = -1;
  ShowBar();
  // Where the window manager puts it, as long as it is whole on the screen.
  FramePlacement::Place(*form_, KeepFrameInside);
  form_->show();
  if (stage_ > 0) form_->SelectStage(stage_);
  form_->raise();
}

void CalcStatusWindow::HideStatus() {
  wanted_ = false;
  if (!form_) return;
  form_->hide();
  delete form_.data();
}

void CalcStatusWindow::SetStage(int row) {
  stage_ = row;
  if (form_) form_->SelectStage(row);
}

void CalcStatusWindow::SetCell(int col, int row, const std::string& text) {
  cells_[{col, row}] = text;
  if (form_) form_->SetCell(col, row, QString::fromStdString(text));
}

void CalcStatusWindow::SetLabel(const std::string& text) {
  label_ = text;
  if (form_) form_->SetProcessText(QString::fromStdString(text));
}

void CalcStatusWindow::SetBar(long long position, long long maximum) {
  barPosition_ = position;
  barMaximum_ = maximum;
  PumpIfDue();
}

void CalcStatusWindow::Pump() { PumpIfDue(); }

void CalcStatusWindow::PumpIfDue() {
  const auto now = Now();
  if (throttle_.Due(now)) {
    throttle_.Pumped(now);
    if (wanted_ && !form_ && now - wantedSince_ >= timing_.ShowDelay) MakeForm();
    ShowBar();
    ProcessEvents();
  }
  if (policy_.StopsComputation(project_.BreakFlag())) throw ECalcBroken();
}

void CalcStatusWindow::ShowBar() {
  if (barPosition_ == shownPosition_ && barMaximum_ == shownMaximum_) return;
  shownPosition_ = barPosition_;
  shownMaximum_ = barMaximum_;
  if (form_) form_->SetBar(barPosition_, barMaximum_);
}

void CalcStatusWindow::ProcessEvents() {
  ++pumps_;
  QApplication::processEvents(QEventLoop::AllEvents);
  if (seam_ != nullptr && seam_->OnPump) seam_->OnPump(*this);
}

}  // namespace tavir

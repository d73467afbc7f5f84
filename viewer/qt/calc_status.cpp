#include "viewer/qt/calc_status.h"

#include <QApplication>

namespace tavir {

std::function<void(CalcStatusWindow&)>& CalcStatusWindow::PumpHook() {
  static std::function<void(CalcStatusWindow&)> hook;
  return hook;
}

std::chrono::milliseconds& CalcStatusWindow::PumpInterval() {
  static std::chrono::milliseconds interval = kPumpInterval;
  return interval;
}

CalcStatusWindow::CalcStatusWindow(TViewerProject& project, BreakMode mode, QWidget* parent)
    : project_(project), parent_(parent), throttle_(PumpInterval()), policy_(mode) {}

CalcStatusWindow::~CalcStatusWindow() { HideStatus(); }

void CalcStatusWindow::ShowStatus() {
  if (form_) return;
  form_ = new TStatusForm([this] { project_.SetBreakFlag(true); }, parent_);
  form_->setAttribute(Qt::WA_DeleteOnClose, false);
  form_->show();
  form_->raise();
}

void CalcStatusWindow::HideStatus() {
  if (!form_) return;
  form_->hide();
  delete form_.data();
}

void CalcStatusWindow::SetStage(int row) {
  policy_.StageEntered(row, project_.BreakFlag());
  if (form_) form_->SelectStage(row);
}

void CalcStatusWindow::SetCell(int col, int row, const std::string& text) {
  if (form_) form_->SetCell(col, row, QString::fromStdString(text));
}

void CalcStatusWindow::SetLabel(const std::string& text) {
  if (form_) form_->SetProcessText(QString::fromStdString(text));
}

void CalcStatusWindow::SetBar(long long position, long long maximum) {
  if (form_) form_->SetBar(position, maximum);
  const auto now = PumpThrottle::Clock::now();
  if (throttle_.Due(now)) {
    throttle_.Pumped(now);
    ProcessEvents();
  }
  if (policy_.StopOnProgress(project_.BreakFlag())) throw ECalcBroken();
}

void CalcStatusWindow::Pump() {
  throttle_.Pumped(PumpThrottle::Clock::now());
  ProcessEvents();
  if (policy_.StopOnPump(project_.BreakFlag())) throw ECalcBroken();
}

void CalcStatusWindow::ProcessEvents() {
  QApplication::processEvents(QEventLoop::AllEvents);
  if (auto& hook = PumpHook()) hook(*this);
}

}  // namespace tavir

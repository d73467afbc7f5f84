#include "platform/qt/progress_bar.h"

namespace tavir {

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
  setTextVisible(false);
  Show();
}

void ProgressBar::SetRange(int min, int max) {
  state_.SetRange(min, max);
  Show();
}

void ProgressBar::SetPosition(int position) {
  state_.SetPosition(position);
  Show();
}

void ProgressBar::StepIt() {
  state_.StepIt();
  Show();
}

void ProgressBar::Show() {
  const bool newRange = minimum() != state_.Min() || maximum() != state_.Max();
  if (newRange) setRange(state_.Min(), state_.Max());
  // QProgressBar paints at once when a new value changes a painted pixel (a wrap
  // included) and not otherwise; a new range only schedules a paint, which a loop
  // that returns to no event loop would never see.
  setValue(state_.Position());
  if (newRange && isVisible()) repaint();
}

}  // namespace tavir

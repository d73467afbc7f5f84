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
  if (minimum() != state_.Min() || maximum() != state_.Max()) setRange(state_.Min(), state_.Max());
  // A step back (a wrap) lowers the value; QProgressBar repaints itself when the
  // change shows, the forced repaint covers the rest in synchronous loops.
  setValue(state_.Position());
  if (isVisible()) repaint();
}

}  // namespace tavir

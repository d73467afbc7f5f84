#pragma once
// A progress bar with the platform's bounds, step and StepIt (which wraps past the
// maximum). A change that moves a painted pixel shows at once, also inside a loop
// that returns to no event loop; one that moves none costs no paint.
#include <QProgressBar>

#include "platform/progress.h"

namespace tavir {

class ProgressBar : public QProgressBar {
  Q_OBJECT
 public:
  explicit ProgressBar(QWidget* parent = nullptr);

  int Min() const { return state_.Min(); }
  int Max() const { return state_.Max(); }
  int Step() const { return state_.Step(); }
  int Position() const { return state_.Position(); }
  void SetRange(int min, int max);
  void SetStep(int step) { state_.SetStep(step); }
  void SetPosition(int position);
  void StepIt();

 private:
  void Show();

  ProgressBarState state_;
};

}  // namespace tavir

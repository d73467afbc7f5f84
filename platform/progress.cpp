#include "platform/progress.h"

#include <algorithm>

namespace tavir {

void ProgressBarState::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  SetPosition(position_);
}

void ProgressBarState::SetPosition(int position) { position_ = std::clamp(position, min_, max_); }

void ProgressBarState::StepIt() {
  const long long range = static_cast<long long>(max_) - min_;
  const long long p = static_cast<long long>(position_) + step_;
  if (range == 0) {
    position_ = min_;
  } else if (p > max_) {
    position_ = static_cast<int>(min_ + (p - min_) % range);
  } else if (p < min_) {
    position_ = static_cast<int>(max_ - (static_cast<long long>(min_) - p) % range);
  } else {
    position_ = static_cast<int>(p);
  }
}

}  // namespace tavir

#pragma once
// When a running computation lets the interface breathe and when the user's Break
// stops it. Plain code (no Qt): the status window drives it.
//
// A progress callback only records the position. At the stage points the
// computation names and at its progress callbacks, events are processed (the
// windows painted, Break heard) at most every kPumpInterval: about as often as a
// person can see a change, so that a long solve stays responsive and a short one
// does not spend its time painting. The status window itself appears only when
// the computation lasts long enough to be seen (kStatusShowDelay).
//
// Break: the static analysis reads no flag of its own, so a Break there stops it at
// the next progress point. The adaptation reads the flag after each iteration only:
// the iteration in progress always finishes, so that the adaptation ends with the
// results of a whole iteration.
#include <chrono>
#include <stdexcept>

namespace tavir {

inline constexpr std::chrono::milliseconds kPumpInterval{35};
// A computation shorter than this is over before a person could read its status
// window: the window is shown only once the computation has run this long.
inline constexpr std::chrono::milliseconds kStatusShowDelay{100};

struct PumpTiming {
  std::chrono::milliseconds Interval = kPumpInterval;
  std::chrono::milliseconds ShowDelay = kStatusShowDelay;
  // Every stage point and progress callback pumps, and the window shows at once.
  static PumpTiming EveryPump() { return {std::chrono::milliseconds(0), std::chrono::milliseconds(0)}; }
};
inline constexpr const char* kCalcBrokenText = "Расчет прерван!";

// Thrown from a progress callback to stop the computation.
class ECalcBroken : public std::runtime_error {
 public:
  ECalcBroken() : std::runtime_error(kCalcBrokenText) {}
};

class PumpThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  explicit PumpThrottle(std::chrono::milliseconds interval = kPumpInterval) : interval_(interval) {}
  // True when a progress callback at `now` should process events.
  bool Due(Clock::time_point now) const { return !pumped_ || now - last_ >= interval_; }
  void Pumped(Clock::time_point now) {
    last_ = now;
    pumped_ = true;
  }

 private:
  std::chrono::milliseconds interval_;
  Clock::time_point last_{};
  bool pumped_ = false;
};

enum class BreakMode : unsigned char {
  Anywhere,        // the static analysis
  AfterIteration,  // the adaptation: it reads the flag itself
};

class BreakPolicy {
 public:
  explicit BreakPolicy(BreakMode mode) : mode_(mode) {}
  // Whether a progress callback or a stage point with the flag in this state stops
  // the computation.
  bool StopsComputation(bool flag) const { return flag && mode_ == BreakMode::Anywhere; }

 private:
  BreakMode mode_;
};

}  // namespace tavir

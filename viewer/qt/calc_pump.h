#pragma once
// When a running computation lets the interface breathe and when the user's Break
// stops it. Plain code (no Qt): the status window drives it.
//
// Events are processed at every stage point the computation names, and from its
// progress callbacks at most every kPumpInterval, so a long solve stays responsive
// without spending its time in the event loop.
//
// Break: the static analysis reads no flag of its own, so a Break there stops it at
// the next progress point. The adaptation reads the flag after each iteration; only a
// Break pressed while a solve runs stops that solve at once (a solve can take
// minutes), a Break pressed elsewhere lets the iteration finish.
#include <chrono>
#include <stdexcept>

namespace tavir {

inline constexpr std::chrono::milliseconds kPumpInterval{200};
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
  Anywhere,     // the static analysis
  DuringSolve,  // the adaptation
};

class BreakPolicy {
 public:
  explicit BreakPolicy(BreakMode mode) : mode_(mode) {}
  // The computation entered stage row `row`; `flag` is the Break flag now.
  void StageEntered(int row, bool flag) {
    inSolve_ = row == kSolveRow;
    flagAtSolveStart_ = flag;
  }
  // Whether a progress callback with the flag in this state stops the computation.
  bool StopOnProgress(bool flag) const {
    if (!flag) return false;
    if (mode_ == BreakMode::Anywhere) return true;
    return inSolve_ && !flagAtSolveStart_;
  }
  // Whether a stage point stops it (the adaptation reads the flag itself there).
  bool StopOnPump(bool flag) const { return flag && mode_ == BreakMode::Anywhere; }

  static constexpr int kSolveRow = 3;

 private:
  BreakMode mode_;
  bool inSolve_ = false;
  bool flagAtSolveStart_ = false;
};

}  // namespace tavir

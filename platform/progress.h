#pragma once
// A progress bar's bounds, step and position as the platform's progress bar keeps
// them: the position stays within the bounds, and a step that passes the maximum
// starts over from the minimum with what is left over.
namespace tavir {

class ProgressBarState {
 public:
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Step() const { return step_; }
  int Position() const { return position_; }

  // A maximum below the minimum is taken as the minimum. The position is kept
  // within the new bounds.
  void SetRange(int min, int max);
  void SetStep(int step) { step_ = step; }
  void SetPosition(int position);
  // Advances by the step, wrapping past the maximum (or, for a negative step,
  // below the minimum).
  void StepIt();

 private:
  int min_ = 0;
  int max_ = 100;
  int step_ = 10;
  int position_ = 0;
};

}  // namespace tavir

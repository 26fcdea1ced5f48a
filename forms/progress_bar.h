#pragma once
// A progress bar whose position always stays within its range.

#include "forms/component.h"

namespace forms {

class ProgressBar : public Control {
 public:
  using Control::Control;

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int Step() const { return step_; }
  bool Smooth() const { return smooth_; }

  // A minimum above the maximum (or the reverse) drags the other bound along.
  void SetMin(int min);
  void SetMax(int max);
  void SetPosition(int position);
  void SetStep(int step) { Set(step_, step, Property::Step); }
  void SetSmooth(bool smooth) { Set(smooth_, smooth, Property::Smooth); }
  // Advances the position by Step, held within the range.
  void StepIt() { SetPosition(position_ + step_); }

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
  bool smooth_ = false;
};

}  // namespace forms

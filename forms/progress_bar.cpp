#include "forms/progress_bar.h"

#include <algorithm>

namespace forms {

void ProgressBar::SetMin(int min) {
  min_ = min;
  max_ = std::max(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  Changed(Property::Range);
}

void ProgressBar::SetMax(int max) {
  max_ = max;
  min_ = std::min(min_, max_);
  position_ = std::clamp(position_, min_, max_);
  Changed(Property::Range);
}

void ProgressBar::SetPosition(int position) {
  Set(position_, std::clamp(position, min_, max_), Property::Position);
}

}  // namespace forms

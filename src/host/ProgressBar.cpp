#include "host/ProgressBar.h"

#include <algorithm>

namespace host {

void ProgressBar::SetValue(float value) {
  AssignAndNotify(value_, std::clamp(value, min_, std::max(min_, max_)), ValueChanged);
}

void ProgressBar::SetMin(float min) {
  AssignAndNotify(min_, min, RangeChanged);
  SetValue(value_);
}

void ProgressBar::SetMax(float max) {
  AssignAndNotify(max_, max, RangeChanged);
  SetValue(value_);
}

}  // namespace host

#include "host/ProgressBar.h"

#include <algorithm>

namespace host {

void ProgressBar::SetValue(float value) {
  value_ = std::clamp(value, min_, std::max(min_, max_));
}

void ProgressBar::SetMin(float min) {
  min_ = min;
  SetValue(value_);
}

void ProgressBar::SetMax(float max) {
  max_ = max;
  SetValue(value_);
}

}  // namespace host

#pragma once

#include "host/Signal.h"

namespace host {

/// The platform's progress bar: single-precision value, minimum and maximum.
class ProgressBar {
 public:
  float Value() const { return value_; }
  /// Sets the value, kept between minimum and maximum so that more records than were counted
  /// can never push the bar out of its range.
  void SetValue(float value);
  float Min() const { return min_; }
  void SetMin(float min);
  float Max() const { return max_; }
  void SetMax(float max);

  Signal<> ValueChanged;
  /// The minimum or the maximum changed.
  Signal<> RangeChanged;

 private:
  float value_ = 0;
  float min_ = 0;
  float max_ = 100;
};

}  // namespace host

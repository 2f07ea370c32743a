#pragma once

#include "host/Signal.h"

#include <string>

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

  /// What the bar says over itself, such as how far a run has come; empty shows no text.
  const std::string& Text() const { return text_; }
  void SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    TextChanged.Emit();
  }

  Signal<> ValueChanged;
  /// The minimum or the maximum changed.
  Signal<> RangeChanged;
  Signal<> TextChanged;

 private:
  float value_ = 0;
  float min_ = 0;
  float max_ = 100;
  std::string text_;
};

}  // namespace host

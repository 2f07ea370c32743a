#pragma once

#include <chrono>

namespace about {

/// A repeating timer whose ticks the view (or a test) delivers to the model.
class Timer {
 public:
  virtual ~Timer() = default;
  /// Sets the time between two ticks.
  virtual void SetInterval(std::chrono::milliseconds interval) = 0;
  /// Starts ticking; a running timer keeps running.
  virtual void Start() = 0;
  /// Stops ticking; a stopped timer stays stopped.
  virtual void Stop() = 0;
  /// Whether the timer is ticking.
  virtual bool IsRunning() const = 0;
};

}  // namespace about

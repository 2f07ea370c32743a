#pragma once

#include <chrono>

namespace about {

/// A repeating timer whose ticks the view (or a test) delivers to the model.
class Timer {
 public:
  virtual ~Timer() = default;
  /// Sets the time between two ticks.
  virtual void setInterval(std::chrono::milliseconds interval) = 0;
  /// Starts ticking; a running timer keeps running.
  virtual void start() = 0;
  /// Stops ticking; a stopped timer stays stopped.
  virtual void stop() = 0;
  /// Whether the timer is ticking.
  virtual bool isRunning() const = 0;
};

}  // namespace about

#pragma once

#include "about/Timer.h"

#include <QTimer>

namespace gui {

/// A link's timer as a QTimer: the window connects its timeout to the link's tick.
class QtLinkTimer : public about::Timer {
 public:
  void SetInterval(std::chrono::milliseconds interval) override { timer_.setInterval(interval); }
  void Start() override {
    if (!timer_.isActive()) timer_.start();
  }
  void Stop() override { timer_.stop(); }
  bool IsRunning() const override { return timer_.isActive(); }

  /// The timer whose timeout is the tick.
  QTimer& QtTimer() { return timer_; }

 private:
  QTimer timer_;
};

}  // namespace gui

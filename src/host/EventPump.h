#pragma once

namespace host {

/// Lets pending window messages run, so that a click on Cancel is handled during a long loop.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void ProcessPendingMessages() = 0;
};

/// A pump for a program without a window: there is nothing pending.
class NoEventPump : public EventPump {
 public:
  void ProcessPendingMessages() override {}
};

}  // namespace host

#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace host {

namespace signal_detail {

/// The part of a connected slot that its connection can see: whether it is still connected.
struct SlotState {
  bool connected = true;
};

}  // namespace signal_detail

/// The listener's end of a signal's connection: disconnects the slot when it is destroyed or
/// reassigned. Disconnecting after the signal is gone, or twice, does nothing.
class ScopedConnection {
 public:
  ScopedConnection() = default;
  explicit ScopedConnection(std::weak_ptr<signal_detail::SlotState> slot)
      : slot_(std::move(slot)) {}
  ~ScopedConnection() { Disconnect(); }
  ScopedConnection(ScopedConnection&& other) noexcept : slot_(std::move(other.slot_)) {
    other.slot_.reset();
  }
  ScopedConnection& operator=(ScopedConnection&& other) noexcept {
    if (this != &other) {
      Disconnect();
      slot_ = std::move(other.slot_);
      other.slot_.reset();
    }
    return *this;
  }
  ScopedConnection(const ScopedConnection&) = delete;
  ScopedConnection& operator=(const ScopedConnection&) = delete;

  /// Stops the slot from being called, also in an emission that is running now.
  void Disconnect() {
    if (auto slot = slot_.lock()) slot->connected = false;
    slot_.reset();
  }
  /// Whether the slot is still called: connected and the signal still exists.
  bool Connected() const {
    auto slot = slot_.lock();
    return slot && slot->connected;
  }

 private:
  std::weak_ptr<signal_detail::SlotState> slot_;
};

/// A change notification of a model: slots connected to it are called, in the order connected,
/// each time the model emits it. Single-threaded, as the window's models are. A slot may
/// disconnect any slot, connect new ones (called from the next emission on) or destroy the
/// model while the signal is being emitted; a destroyed signal calls no further slot.
template <typename... Args>
class Signal {
 public:
  using Slot = std::function<void(Args...)>;

  Signal() = default;
  ~Signal() {
    if (state_) state_->alive = false;
  }
  Signal(const Signal&) = delete;
  Signal& operator=(const Signal&) = delete;

  /// Connects `slot`; it stays connected as long as the returned connection lives.
  [[nodiscard]] ScopedConnection Connect(Slot slot) {
    if (!state_) state_ = std::make_shared<State>();
    state_->Purge();
    auto entry = std::make_shared<Entry>(std::move(slot));
    state_->entries.push_back(entry);
    return ScopedConnection(std::weak_ptr<signal_detail::SlotState>(entry));
  }

  /// Calls every connected slot; only the model that owns the signal emits it.
  void Emit(Args... args) {
    if (!state_) return;
    // A slot may destroy the signal's owner: the local reference keeps the slots alive until
    // the emission has unwound, and `alive` stops it.
    std::shared_ptr<State> state = state_;
    EmissionGuard guard(*state);
    const std::size_t count = state->entries.size();
    for (std::size_t i = 0; i < count && state->alive; ++i) {
      Entry* entry = state->entries[i].get();
      if (entry->connected) entry->slot(args...);
    }
  }

  /// Number of connected slots.
  std::size_t ConnectionCount() const {
    std::size_t count = 0;
    if (state_) {
      for (const auto& entry : state_->entries) count += entry->connected ? 1 : 0;
    }
    return count;
  }

 private:
  struct Entry : signal_detail::SlotState {
    explicit Entry(Slot function) : slot(std::move(function)) {}
    Slot slot;
  };

  struct State {
    std::vector<std::shared_ptr<Entry>> entries;
    int emitting = 0;
    bool alive = true;

    // Disconnected slots are dropped only outside an emission, which may be running them.
    void Purge() {
      if (emitting > 0) return;
      std::erase_if(entries, [](const auto& entry) { return !entry->connected; });
    }
  };

  struct EmissionGuard {
    explicit EmissionGuard(State& emitted) : state(emitted) { ++state.emitting; }
    ~EmissionGuard() {
      --state.emitting;
      state.Purge();
    }
    EmissionGuard(const EmissionGuard&) = delete;
    EmissionGuard& operator=(const EmissionGuard&) = delete;
    State& state;
  };

  std::shared_ptr<State> state_;
};

/// Sets `member` to `value` and emits `changed` when that is a change.
template <typename T, typename U>
void AssignAndNotify(T& member, U&& value, Signal<>& changed) {
  if (member == value) return;
  member = std::forward<U>(value);
  changed.Emit();
}

}  // namespace host

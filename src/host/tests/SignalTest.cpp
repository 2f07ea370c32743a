#include "host/Signal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace host {
namespace {

TEST(SignalTest, CallsEverySlotInConnectionOrderWithTheArguments) {
  Signal<int, const std::string&> signal;
  std::vector<std::string> calls;
  auto first = signal.Connect(
      [&](int n, const std::string& s) { calls.push_back("1:" + std::to_string(n) + s); });
  auto second = signal.Connect(
      [&](int n, const std::string& s) { calls.push_back("2:" + std::to_string(n) + s); });
  signal.Emit(7, "x");
  EXPECT_EQ((std::vector<std::string>{"1:7x", "2:7x"}), calls);
}

TEST(SignalTest, ADestroyedListenerIsNeverCalled) {
  Signal<> signal;
  int calls = 0;
  {
    ScopedConnection listener = signal.Connect([&] { ++calls; });
  }
  ScopedConnection moved = signal.Connect([&] { ++calls; });
  ScopedConnection target = std::move(moved);
  target = ScopedConnection();
  signal.Emit();
  EXPECT_EQ(0, calls);
  EXPECT_EQ(0u, signal.ConnectionCount());
}

TEST(SignalTest, AConnectionOutlivingItsSignalIsSafe) {
  auto signal = std::make_unique<Signal<>>();
  ScopedConnection connection = signal->Connect([] {});
  EXPECT_TRUE(connection.Connected());
  signal.reset();
  EXPECT_FALSE(connection.Connected());
  connection.Disconnect();
}

TEST(SignalTest, ASlotMayDisconnectOthersOrItselfWhileBeingEmitted) {
  Signal<> signal;
  std::vector<std::string> calls;
  ScopedConnection second;
  ScopedConnection first = signal.Connect([&] {
    calls.push_back("first");
    first.Disconnect();
    second.Disconnect();
  });
  second = signal.Connect([&] { calls.push_back("second"); });
  signal.Emit();
  signal.Emit();
  EXPECT_EQ((std::vector<std::string>{"first"}), calls);
}

TEST(SignalTest, ASlotConnectedWhileEmittingIsCalledFromTheNextEmission) {
  Signal<> signal;
  int late = 0;
  std::vector<ScopedConnection> connections;
  connections.push_back(signal.Connect([&] {
    if (connections.size() == 1) connections.push_back(signal.Connect([&] { ++late; }));
  }));
  signal.Emit();
  EXPECT_EQ(0, late);
  signal.Emit();
  EXPECT_EQ(1, late);
}

TEST(SignalTest, ASlotMayDestroyTheSignalWhileItIsEmitted) {
  auto signal = std::make_unique<Signal<>>();
  int later = 0;
  ScopedConnection destroying = signal->Connect([&] { signal.reset(); });
  ScopedConnection next = signal->Connect([&] { ++later; });
  signal->Emit();
  EXPECT_EQ(0, later);
  EXPECT_FALSE(next.Connected());
}

}  // namespace
}  // namespace host

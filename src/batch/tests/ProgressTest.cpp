#include "batch/Progress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace batch {
namespace {

using namespace std::chrono_literals;

class ProgressTest : public ::testing::Test {
 protected:
  ProgressDisplay Display(bool terminal) {
    return ProgressDisplay(out, terminal, [this] { return now; });
  }

  std::ostringstream out;
  std::chrono::steady_clock::time_point now{};
};

TEST_F(ProgressTest, OffATerminalAKindHasOneLineWhenItStartsAndOneWhenItEnds) {
  ProgressDisplay display = Display(false);
  display.KindStarted("Customers");
  display.Progress(0, 3);
  now += 1s;
  display.Progress(1, 3);
  now += 1500ms;
  display.Progress(3, 3);
  display.KindEnded({{3, 2, 1, 0}, false, false});
  display.KindStarted("Banks");
  display.KindEnded({{4, 1, 0, 0}, true, true});
  display.KindStarted("Items");
  display.RunEnded();
  EXPECT_EQ(
      "Customers: started\n"
      "Customers: 3 to convert, 2 converted, 1 skipped, 0 failed in 2.5 s\n"
      "Banks: started\n"
      "Banks: 4 to convert, 1 converted, 0 skipped, 0 failed in 0.0 s; an error ended it, its "
      "log tells why; canceled\n"
      "Items: started\n"
      "Items: ended before its records were converted; its log tells why\n",
      out.str());
}

TEST_F(ProgressTest, OnATerminalOneLineIsRedrawnAtMostTenTimesASecond) {
  ProgressDisplay display = Display(true);
  display.KindStarted("Customers");
  display.Progress(0, 1000);
  for (const auto& [step, done] : {std::pair{100ms, 200}, {50ms, 300}, {49ms, 390}, {1ms, 400}}) {
    now += step;
    display.Progress(done, 1000);
  }
  display.KindEnded({{1000, 1000, 0, 0}, false, false});
  EXPECT_EQ(
      "\r\x1b[KCustomers: counting the records"
      "\r\x1b[KCustomers: 200 of 1000, 2000 records/s, 0.4 s left"
      "\r\x1b[KCustomers: 400 of 1000, 2000 records/s, 0.3 s left"
      "\r\x1b[KCustomers: 1000 to convert, 1000 converted, 0 skipped, 0 failed in 0.2 s\n",
      out.str());
}

TEST(DurationTest, SecondsUnderAMinuteThenMinutesAndHours) {
  const std::pair<double, const char*> cases[] = {
      {0.04, "0.0 s"},   {59.9, "59.9 s"},  {59.96, "1:00"},
      {3599.4, "59:59"}, {3600, "1:00:00"}, {7384, "2:03:04"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(text, FormatDuration(seconds)) << seconds;
}

}  // namespace
}  // namespace batch

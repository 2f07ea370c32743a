#include "erp/site/ErpErrorDisplay.h"

#include <gtest/gtest.h>

#include <sstream>

namespace erp {
namespace {

/// Keeps what it was asked to show, as a dialog would show it.
class RecordingDisplay : public ErrorDisplay {
 public:
  void show(const ErrorList& errors) override { shown.push_back(errors.entries()); }
  std::vector<std::vector<ErrorEntry>> shown;
};

TEST(SessionErrorDisplayTest, TheConsoleNamesEachPriority) {
  ErrorList errors;
  errors.add(kMessage, "Done.");
  errors.add(kWarning, "Check the log.");
  errors.add(kError, "Tax group is missing.");
  errors.add(kSecurity, "Not allowed.");
  errors.add(7, "Odd.");
  std::ostringstream out;
  ConsoleErrorDisplay(out).show(errors);

  EXPECT_EQ(
      "Message: Done.\nWarning: Check the log.\nError: Tax group is missing.\n"
      "Security: Not allowed.\nPriority 7: Odd.\n",
      out.str());
}

TEST(SessionErrorDisplayTest, ShowingLeavesTheListAndClearingEmptiesIt) {
  ErrorList errors;
  errors.add(kError, "First.");
  errors.add(kWarning, "Second.");
  RecordingDisplay display;
  display.show(errors);

  ASSERT_EQ(1u, display.shown.size());
  ASSERT_EQ(2u, display.shown[0].size());
  EXPECT_EQ(kWarning, display.shown[0][1].priority);
  EXPECT_EQ("Second.", display.shown[0][1].text);
  EXPECT_EQ(2u, errors.count());

  errors.clear();
  std::ostringstream out;
  ConsoleErrorDisplay(out).show(errors);
  EXPECT_EQ(0u, errors.count());
  EXPECT_EQ("", out.str());
}

}  // namespace
}  // namespace erp

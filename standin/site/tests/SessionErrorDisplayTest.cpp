#include "standin/site/ErpErrorDisplay.h"

#include <gtest/gtest.h>

#include <sstream>

namespace erp {
namespace {

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

}  // namespace
}  // namespace erp

#include "host/ErrorBoundary.h"

#include "host/HostError.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace host {
namespace {

TEST(ErrorBoundaryTest, RaisedErrorsAreShownThroughTheErrorDisplayAndANormalEndShowsNothing) {
  testing::StandinCompany company;
  int runs = 0;
  EXPECT_TRUE(ShowErrorsOf(company.connection(), [&] { ++runs; }));
  EXPECT_EQ(1, runs);
  EXPECT_EQ("", company.shownErrors());
  EXPECT_FALSE(ShowErrorsOf(company.connection(), [] {
    throw HostError(HostError::kGeneralFailure, "View AR0024 is not open.");
  }));
  EXPECT_FALSE(ShowErrorsOf(company.connection(), [] { throw std::out_of_range("No such row."); }));
  EXPECT_EQ("Error: View AR0024 is not open.\nError: No such row.\n", company.shownErrors());
  EXPECT_TRUE(company.errorTexts().empty());
}

}  // namespace
}  // namespace host

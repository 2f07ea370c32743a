#include "convert/Conversion.h"

#include "host/webapi/tests/testsupport/ServedCompany.h"

#include <gtest/gtest.h>

namespace convert::testing {
namespace {

using I = std::int64_t;

/// Counts the commits of a run.
struct CommitCount : RunObserver {
  void BatchCommitted() override { ++commits; }
  int commits = 0;
};

/// A request converting three customers from OLD to HST, asking for 100 records per commit,
/// run through the stand-in's Web API server.
class WebApiConversionTest : public ::testing::Test {
 protected:
  explicit WebApiConversionTest(erp::webapi::ServerOptions options = {})
      : served(std::move(options)) {
    for (const char* id : {"1000", "1010", "1020"}) {
      served.data().insert(
          "AR0024",
          {{"IDCUST", id}, {"CODETAXGRP", "OLD"}, {"TAXSTTS1", I{1}}, {"TAXSTTS2", I{1}}});
    }
    served.signOn();
    request.tab = 1;
    request.recordsPerCommit = 100;
    request.kinds["chkCustomers"] = {1, true, {}, {}};
    request.taxGroups["SalesFromGrid"] = {2, {"OLD", 3}, {"1", "1"}, 4};
    request.taxGroups["SalesToGrid"] = {5, {"HST", 6}, {}, 0};
  }

  host::webapi::testing::ServedCompany served;
  ConversionRequest request;
  CommitCount observer;
};

// The server saves each record by itself and cannot take several back together.
TEST_F(WebApiConversionTest, ALinkThatSavesRecordsAloneCommitsEachRecordWhateverTheRequestAsks) {
  Conversion conversion(served.connection(), served.host().DataSources(), request, Claims::Take);
  ASSERT_TRUE(conversion.Accepted()) << ::testing::PrintToString(conversion.CheckProblems());
  const ConversionResult result = conversion.Run(observer);
  ASSERT_EQ(1u, result.kinds.size());
  EXPECT_EQ((KindCounts{3, 3, 0, 0}), result.kinds[0].outcome.counts);
  EXPECT_EQ(3, observer.commits);
}

erp::webapi::ServerOptions HidingCustomers() {
  erp::webapi::ServerOptions options;
  options.hidden = {"customers"};
  return options;
}

class HiddenKindTest : public WebApiConversionTest {
 protected:
  HiddenKindTest() : WebApiConversionTest(HidingCustomers()) {}
};

TEST_F(HiddenKindTest, AKindTheServerCannotConvertIsRefusedByTheChecksNamingWhatItLacks) {
  Conversion conversion(served.connection(), served.host().DataSources(), request, Claims::Leave);
  ASSERT_EQ(1u, conversion.CheckProblems().size())
      << ::testing::PrintToString(conversion.CheckProblems());
  EXPECT_EQ(0u, conversion.CheckProblems()[0].find(
                    "Customers cannot be converted through this server: ARCustomers lacks "
                    "TaxGroup, TaxClassCode1"))
      << conversion.CheckProblems()[0];
  EXPECT_FALSE(conversion.Accepted());
}

}  // namespace
}  // namespace convert::testing

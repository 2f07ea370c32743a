#include "host/webapi/tests/testsupport/ServedCompany.h"

#include "host/HostError.h"

#include <gtest/gtest.h>

namespace host::webapi {
namespace {

using testing::ServedCompany;

TEST(WebApiDataSourceTest, Smoke) {
  ServedCompany served;
  served.data().insert("AR0024", {{"IDCUST", "1000"},
                                  {"CODETAXGRP", "OLD"},
                                  {"TAXSTTS1", std::int64_t{1}},
                                  {"TAXSTTS2", std::int64_t{1}}});
  served.data().insert("AR0024",
                       {{"IDCUST", "1010"}, {"CODETAXGRP", "HST"}, {"TAXSTTS1", std::int64_t{1}}});
  AccpacConnection& connection = served.signOn();
  ASSERT_NE(nullptr, connection.Session()) << served.shown();
  auto customers = served.open("AR0024");
  EXPECT_EQ(1, customers->Count("(CODETAXGRP = \"OLD \")", 0));
  customers->Browse("", true);
  ASSERT_TRUE(customers->Fetch(false));
  EXPECT_EQ("1000", customers->Fields(1).Text());
  EXPECT_EQ("OLD", customers->Fields(38).Text());
  customers->Fields(38).PutWithVerification(std::string("HST"));
  customers->Fields("TAXSTTS2").PutWithVerification(std::int64_t{0});
  EXPECT_TRUE(customers->PendingChanges());
  customers->Update();
  EXPECT_EQ(0, customers->LastReturnCode()) << served.errorTexts().size();
  auto direct = served.data().open("AR0024");
  direct->put(1, std::string("1000"), false);
  ASSERT_TRUE(direct->read());
  EXPECT_EQ("HST", direct->text(38));
  EXPECT_EQ(served.shown(), "");
}

}  // namespace
}  // namespace host::webapi

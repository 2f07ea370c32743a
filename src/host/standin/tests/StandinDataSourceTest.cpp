#include "host/standin/StandinDataSource.h"

#include "host/HostError.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

namespace host {
namespace {

using I = std::int64_t;

TEST(StandinDataSourceTest, ComposedThroughItsParentAndCommittedWithIt) {
  testing::StandinCompany company;
  company.data().insert("AR0010", {{"#1", "A100"}});
  company.data().insert("AR0011", {{"#1", "A100"}, {"#2", "GST"}, {"#3", I{1}}});
  auto items = company.open("AR0010");
  auto taxes = company.open("AR0011", items.get());
  EXPECT_EQ(&company.session(), &items->Session());

  items->Fields(1).PutWithoutVerification(std::string("A100"));
  ASSERT_TRUE(items->Read());
  taxes->ClearRecord();
  taxes->Fields(2).PutWithVerification(std::string("PST"));
  taxes->Fields(3).PutWithVerification(std::string("2"));
  taxes->Insert();
  EXPECT_TRUE(taxes->DetailChanges());
  EXPECT_FALSE(items->PendingChanges());
  items->Update();
  EXPECT_EQ(0, items->LastReturnCode());
  EXPECT_FALSE(taxes->DetailChanges());

  taxes->ClearRecord();
  taxes->Fields(2).PutWithoutVerification(std::string("PST"));
  ASSERT_TRUE(taxes->Read());
  EXPECT_EQ("A100", taxes->Fields(1).Text());
  EXPECT_EQ(2, VariantInteger(taxes->Fields(3).Value()));
}

TEST(StandinDataSourceTest, ErpRefusalsAreHostErrorsWithTheMessageInTheErrorList) {
  testing::StandinCompany company;
  auto customers = company.open("AR0024");
  try {
    customers->Fields("CODETAXGRP").PutWithVerification(std::string("NOPE"));
    FAIL() << "expected a refusal";
  } catch (const HostError& error) {
    EXPECT_NE(0, error.Number());
    EXPECT_EQ("Tax Group NOPE does not exist for transaction type Sales.", error.Description());
  }
  EXPECT_EQ(std::vector<std::string>{"Tax Group NOPE does not exist for transaction type Sales."},
            company.errorTexts());
  EXPECT_THROW(customers->Fields("NOSUCH"), HostError);
  EXPECT_THROW(customers->Fields(0), HostError);
  EXPECT_THROW(customers->Count("(BROKEN", 0), HostError);
  EXPECT_EQ("Customer Number", customers->Fields(1).Description());
  EXPECT_EQ(12, customers->Fields(1).Size());
}

TEST(StandinDataSourceTest, ClosedDataSourcesRefuseWork) {
  testing::StandinCompany company;
  auto customers = company.open("AR0024");
  customers->SetOpen(false);
  EXPECT_FALSE(customers->IsOpen());
  EXPECT_THROW(customers->Count("", 0), HostError);
  EXPECT_THROW(standin::StandinDataSource("XX9999"), HostError);
}

}  // namespace
}  // namespace host

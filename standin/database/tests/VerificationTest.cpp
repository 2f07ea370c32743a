#include "standin/database/ErpDataSource.h"

#include "standin/database/ErpError.h"
#include "standin/testsupport/TestCompany.h"

#include <gtest/gtest.h>

namespace erp {
namespace {

using testing::TestCompany;

using I = std::int64_t;
using S = std::string;

/// A field by name, or by number written as "#7".
int fieldNumber(const DataSource& source, const std::string& name) {
  return name.starts_with("#") ? std::stoi(name.substr(1)) : source.field(name).number;
}

// Each case sets a field up without verification (none when `beforeField` is empty), then puts
// with verification: accepted, the field holds `expectedValue`; refused (`expectedMessage`), the
// message is listed and the field is unchanged. PST class 4 exists for sales item classes only,
// so each class check must ask for its field's class type and axis.
TEST(VerificationTest, PutWithVerification) {
  TestCompany company;
  company.addTaxData();
  auto check = [&](const char* name, const char* view, const char* beforeField,
                   const char* beforeValue, const char* field, const Value& value,
                   const Value& expectedValue, const char* expectedMessage) {
    SCOPED_TRACE(name);
    auto source = company.open(view);
    if (*beforeField) source->put(fieldNumber(*source, beforeField), S(beforeValue), false);
    const int number = fieldNumber(*source, field);
    const Value previous = source->value(number);
    company.errors().clear();
    if (expectedMessage) {
      EXPECT_THROW(source->put(number, value, true), ErpError);
      ASSERT_EQ(1u, company.errors().count());
      EXPECT_EQ(expectedMessage, company.errors().at(0).text);
      EXPECT_EQ(kError, company.errors().at(0).priority);
      EXPECT_EQ(previous, source->value(number)) << "a refused put changes nothing";
    } else {
      source->put(number, value, true);
      EXPECT_EQ(0u, company.errors().count());
      EXPECT_EQ(expectedValue, source->value(number));
    }
  };
  check("CodeIsUpperCased", "AR0024", "", "", "IDCUST", S("abc1"), S("ABC1"), nullptr);
  check("ItemNumberIsUnformatted", "IC0310", "", "", "ITEMNO", S("a1-100/x"), S("A1100X"), nullptr);
  check("SalesTaxGroupExists", "AR0024", "", "", "CODETAXGRP", S("HST"), S("HST"), nullptr);
  check("UnknownTaxGroup", "AR0024", "", "", "CODETAXGRP", S("XYZ"), Value(),
        "Tax Group XYZ does not exist for transaction type Sales.");
  check("ClassOfTheGroupsSecondAuthority", "AR0024", "CODETAXGRP", "OLD", "TAXSTTS2", S("3"), I(3),
        nullptr);
  check("ClassUnknownForAuthority", "AR0024", "CODETAXGRP", "OLD", "TAXSTTS1", I(7), Value(),
        "Tax Class 7 does not exist for tax authority GST (Sales).");
  check("CustomerClassOfTheItemAxis", "AR0024", "CODETAXGRP", "OLD", "TAXSTTS2", I(4), Value(),
        "Tax Class 4 does not exist for tax authority PST (Sales).");
  check("VendorClassOfTheSalesItemKind", "AP0015", "CODETAXGRP", "OLD", "TAXCLASS2", I(4), Value(),
        "Tax Class 4 does not exist for tax authority PST (Purchases).");
  check("NoClassBeyondTheGroupsAuthorities", "AR0024", "CODETAXGRP", "HST", "TAXSTTS2", I(1),
        Value(), "Tax Class 1 cannot be set: there is no tax authority for it.");
  check("ZeroBeyondTheGroupsAuthorities", "AR0024", "CODETAXGRP", "HST", "TAXSTTS2", I(0), I(0),
        nullptr);
  check("NumberFieldRefusesText", "AR0024", "", "", "TAXSTTS1", S("one"), Value(),
        "Invalid value for Tax Class 1: one.");
  check("UnknownAuthority", "AR0011", "", "", "#2", S("ZZZ"), Value(),
        "Tax Authority ZZZ does not exist.");
  check("DetailClassOfItsAuthority", "AR0011", "#2", "PST", "#3", S("2"), I(2), nullptr);
  check("DetailClassOfItsTypeAndAxisOnly", "AR0011", "#2", "PST", "#3", I(4), I(4), nullptr);
  check("DetailClassOfAnotherType", "IC0330", "#2", "PST", "PURCHCLASS", I(4), Value(),
        "Tax Class 4 does not exist for tax authority PST (Purchases).");
  check("DetailClassUnknown", "AR0011", "#2", "PST", "#3", I(9), Value(),
        "Tax Class 9 does not exist for tax authority PST (Sales).");
  check("TaxIncludedWhereAllowed", "AR0011", "#2", "PST", "#4", I(1), I(1), nullptr);
  check("TaxIncludedRefused", "AR0011", "#2", "GST", "#4", I(1), Value(),
        "Tax authority GST does not allow tax included in the price.");
  check("UnknownCurrency", "IC0480", "", "", "CURRENCY", S("eur"), Value(),
        "Currency Code EUR does not exist.");
}

}  // namespace
}  // namespace erp

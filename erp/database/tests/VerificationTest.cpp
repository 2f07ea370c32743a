#include "erp/database/ErpDataSource.h"

#include "erp/database/ErpError.h"
#include "erp/testsupport/TestCompany.h"

#include <gtest/gtest.h>

namespace erp {
namespace {

using testing::TestCompany;

struct PutCase {
  const char* name;
  const char* view;
  const char* beforeField;  ///< a put without verification that sets the record up, or ""
  const char* beforeValue;
  const char* field;
  Value value;
  Value expectedValue;          ///< value after an accepted put
  const char* expectedMessage;  ///< message of a refusal, or nullptr when accepted
};

void PrintTo(const PutCase& c, std::ostream* out) {
  *out << c.name;
}

using I = std::int64_t;
using S = std::string;

/// A field by name, or by number written as "#7".
int fieldNumber(const DataSource& source, const std::string& name) {
  return name.starts_with("#") ? std::stoi(name.substr(1)) : source.field(name).number;
}

class VerificationTest : public ::testing::TestWithParam<PutCase> {
 protected:
  void SetUp() override { company.addTaxData(); }
  TestCompany company;
};

TEST_P(VerificationTest, PutWithVerification) {
  const PutCase& c = GetParam();
  auto source = company.open(c.view);
  if (*c.beforeField) source->put(fieldNumber(*source, c.beforeField), S(c.beforeValue), false);
  int number = fieldNumber(*source, c.field);
  Value previous = source->value(number);
  company.errors().clear();
  if (c.expectedMessage) {
    EXPECT_THROW(source->put(number, c.value, true), ErpError);
    ASSERT_EQ(1u, company.errors().count());
    EXPECT_EQ(c.expectedMessage, company.errors().at(0).text);
    EXPECT_EQ(kError, company.errors().at(0).priority);
    EXPECT_EQ(previous, source->value(number)) << "a refused put changes nothing";
  } else {
    source->put(number, c.value, true);
    EXPECT_EQ(0u, company.errors().count());
    EXPECT_EQ(c.expectedValue, source->value(number));
  }
}

// PST class 4 exists for sales item classes only: each class check must ask for its field's class
// type and axis.
INSTANTIATE_TEST_SUITE_P(
    Rules, VerificationTest,
    ::testing::Values(
        PutCase{"CodeIsUpperCased", "AR0024", "", "", "IDCUST", S("abc1"), S("ABC1"), nullptr},
        PutCase{"ItemNumberIsUnformatted", "IC0310", "", "", "ITEMNO", S("a1-100/x"), S("A1100X"),
                nullptr},
        PutCase{"SalesTaxGroupExists", "AR0024", "", "", "CODETAXGRP", S("HST"), S("HST"), nullptr},
        PutCase{"UnknownTaxGroup", "AR0024", "", "", "CODETAXGRP", S("XYZ"), Value(),
                "Tax Group XYZ does not exist for transaction type Sales."},
        PutCase{"ClassOfTheGroupsSecondAuthority", "AR0024", "CODETAXGRP", "OLD", "TAXSTTS2",
                S("3"), I(3), nullptr},
        PutCase{"ClassUnknownForAuthority", "AR0024", "CODETAXGRP", "OLD", "TAXSTTS1", I(7),
                Value(), "Tax Class 7 does not exist for tax authority GST (Sales)."},
        PutCase{"CustomerClassOfTheItemAxis", "AR0024", "CODETAXGRP", "OLD", "TAXSTTS2", I(4),
                Value(), "Tax Class 4 does not exist for tax authority PST (Sales)."},
        PutCase{"VendorClassOfTheSalesItemKind", "AP0015", "CODETAXGRP", "OLD", "TAXCLASS2", I(4),
                Value(), "Tax Class 4 does not exist for tax authority PST (Purchases)."},
        PutCase{"NoClassBeyondTheGroupsAuthorities", "AR0024", "CODETAXGRP", "HST", "TAXSTTS2",
                I(1), Value(), "Tax Class 1 cannot be set: there is no tax authority for it."},
        PutCase{"ZeroBeyondTheGroupsAuthorities", "AR0024", "CODETAXGRP", "HST", "TAXSTTS2", I(0),
                I(0), nullptr},
        PutCase{"NumberFieldRefusesText", "AR0024", "", "", "TAXSTTS1", S("one"), Value(),
                "Invalid value for Tax Class 1: one."},
        PutCase{"UnknownAuthority", "AR0011", "", "", "#2", S("ZZZ"), Value(),
                "Tax Authority ZZZ does not exist."},
        PutCase{"DetailClassOfItsAuthority", "AR0011", "#2", "PST", "#3", S("2"), I(2), nullptr},
        PutCase{"DetailClassOfItsTypeAndAxisOnly", "AR0011", "#2", "PST", "#3", I(4), I(4),
                nullptr},
        PutCase{"DetailClassOfAnotherType", "IC0330", "#2", "PST", "PURCHCLASS", I(4), Value(),
                "Tax Class 4 does not exist for tax authority PST (Purchases)."},
        PutCase{"DetailClassUnknown", "AR0011", "#2", "PST", "#3", I(9), Value(),
                "Tax Class 9 does not exist for tax authority PST (Sales)."},
        PutCase{"TaxIncludedWhereAllowed", "AR0011", "#2", "PST", "#4", I(1), I(1), nullptr},
        PutCase{"TaxIncludedRefused", "AR0011", "#2", "GST", "#4", I(1), Value(),
                "Tax authority GST does not allow tax included in the price."},
        PutCase{"UnknownCurrency", "IC0480", "", "", "CURRENCY", S("eur"), Value(),
                "Currency Code EUR does not exist."}),
    [](const ::testing::TestParamInfo<PutCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace erp

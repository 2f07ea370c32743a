#include "host/controls/StandaloneField.h"

#include "host/HostError.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

namespace host {
namespace {

// Each case gives the field's text after the put, or the message the put is refused with.
TEST(StandaloneFieldPut, TakesTheViewFieldsRules) {
  testing::StandinCompany company;
  auto check = [&](const char* name, const char* viewId, int number, const char* input, bool verify,
                   const char* expected, bool refused) {
    auto source = company.open(viewId);
    StandaloneField field;
    field.DefineLike(source->Fields(number));
    try {
      if (verify) {
        field.PutWithVerification(std::string(input));
      } else {
        field.PutWithoutVerification(std::string(input));
      }
      EXPECT_FALSE(refused) << name;
      EXPECT_EQ(expected, field.Text()) << name;
    } catch (const HostError& error) {
      EXPECT_TRUE(refused) << name;
      EXPECT_EQ(expected, error.Description()) << name;
    }
  };
  check("CodeUpperCasedOnVerify", "TX0003", 1, "old", true, "OLD", false);
  check("CodeKeptAsTypedWithoutVerify", "TX0003", 1, "old", false, "old", false);
  check("ItemNumberUnformattedOnVerify", "IC0310", 1, "a-10/b.1", true, "A10B1", false);
  check("PlainTextNotUpperCased", "TX0003", 3, "mixed Case", true, "mixed Case", false);
  check("TooLongTextRefused", "TX0003", 1, "ABCDEFGHIJKLM", true,
        "Tax Group cannot be longer than 12 characters.", true);
  check("TooLongTextCutWithoutVerify", "TX0003", 1, "ABCDEFGHIJKLM", false, "ABCDEFGHIJKL", false);
  check("NumberFromText", "TX0001", 4, " 2 ", true, "2", false);
  check("NotANumberRefused", "TX0001", 4, "abc", true, "Invalid value for Tax Class: abc.", true);
  check("NotANumberRefusedAlsoWithoutVerify", "TX0001", 4, "abc", false,
        "Invalid value for Tax Class: abc.", true);
  check("SixteenBitOverflowRefused", "TX0001", 4, "40000", true,
        "Invalid value for Tax Class: 40000.", true);
  check("BlankNumberIsZero", "TX0001", 4, "", true, "0", false);
  check("BooleanFromYes", "TX0002", 7, "Yes", true, "1", false);
}

class OperationListField : public ::testing::Test {
 protected:
  void SetUp() override {
    field.Define(StandaloneField::kTypeInt16, 6);
    field.SetDefinitionText(StandaloneField::kItemName, "OPERATION");
    field.SetAttributeValue(76);
    field.ClearPresentationList();
    field.AddPresentation(0, "Insert");
    field.AddPresentation(1, "Update");
    field.AddPresentation(2, "Delete");
  }
  StandaloneField field;
};

TEST_F(OperationListField, TakesAChoiceByItsText) {
  field.PutWithVerification(std::string("Update"));
  EXPECT_EQ(1, VariantInteger(field.Value()));
  EXPECT_EQ("Update", field.Text());
  EXPECT_EQ("OPERATION", field.Name());
  EXPECT_EQ(76, field.AttributeValue());
}

TEST_F(OperationListField, RefusesAValueOutsideTheListOnlyWhenVerified) {
  field.PutWithVerification(std::int64_t{2});
  EXPECT_THROW(field.PutWithVerification(std::int64_t{5}), HostError);
  EXPECT_EQ("Delete", field.Text());
  field.PutWithoutVerification(std::int64_t{5});
  EXPECT_EQ("5", field.Text());
  EXPECT_THROW(field.Verify(), HostError);
}

TEST(StandaloneFieldTest, UnknownTypeCodeIsRefused) {
  StandaloneField field;
  EXPECT_THROW(field.Define(42, 1), HostError);
}

}  // namespace
}  // namespace host

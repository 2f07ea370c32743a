#include "host/controls/StandaloneField.h"

#include "host/HostError.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

namespace host {
namespace {

struct PutCase {
  const char* name;
  const char* viewId;
  int field;
  const char* input;
  bool verify;
  const char* expected;  ///< the field's text afterwards, or the refusal's message
  bool refused;
};

class StandaloneFieldPut : public ::testing::TestWithParam<PutCase> {
 protected:
  static void SetUpTestSuite() { company_ = new testing::StandinCompany(); }
  static void TearDownTestSuite() {
    delete company_;
    company_ = nullptr;
  }
  static testing::StandinCompany* company_;
};

testing::StandinCompany* StandaloneFieldPut::company_ = nullptr;

TEST_P(StandaloneFieldPut, TakesTheViewFieldsRules) {
  const PutCase& line = GetParam();
  auto source = company_->open(line.viewId);
  StandaloneField field;
  field.DefineLike(source->Fields(line.field));
  try {
    if (line.verify) {
      field.PutWithVerification(std::string(line.input));
    } else {
      field.PutWithoutVerification(std::string(line.input));
    }
    EXPECT_FALSE(line.refused);
    EXPECT_EQ(line.expected, field.Text());
  } catch (const HostError& error) {
    EXPECT_TRUE(line.refused);
    EXPECT_EQ(line.expected, error.Description());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StandaloneFieldPut,
    ::testing::Values(
        PutCase{"CodeUpperCasedOnVerify", "TX0003", 1, "old", true, "OLD", false},
        PutCase{"CodeKeptAsTypedWithoutVerify", "TX0003", 1, "old", false, "old", false},
        PutCase{"ItemNumberUnformattedOnVerify", "IC0310", 1, "a-10/b.1", true, "A10B1", false},
        PutCase{"PlainTextNotUpperCased", "TX0003", 3, "mixed Case", true, "mixed Case", false},
        PutCase{"TooLongTextRefused", "TX0003", 1, "ABCDEFGHIJKLM", true,
                "Tax Group cannot be longer than 12 characters.", true},
        PutCase{"TooLongTextCutWithoutVerify", "TX0003", 1, "ABCDEFGHIJKLM", false, "ABCDEFGHIJKL",
                false},
        PutCase{"NumberFromText", "TX0001", 4, " 2 ", true, "2", false},
        PutCase{"NotANumberRefused", "TX0001", 4, "abc", true, "Invalid value for Tax Class: abc.",
                true},
        PutCase{"NotANumberRefusedAlsoWithoutVerify", "TX0001", 4, "abc", false,
                "Invalid value for Tax Class: abc.", true},
        PutCase{"SixteenBitOverflowRefused", "TX0001", 4, "40000", true,
                "Invalid value for Tax Class: 40000.", true},
        PutCase{"BlankNumberIsZero", "TX0001", 4, "", true, "0", false},
        PutCase{"BooleanFromYes", "TX0002", 7, "Yes", true, "1", false}),
    [](const auto& param) { return std::string(param.param.name); });

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

TEST(StandaloneFieldTest, UnformatItemNumberDropsSeparatorsAndTrailingBlanks) {
  EXPECT_EQ("A1B2", UnformatItemNumber("a-1(b).2  "));
  EXPECT_EQ("", UnformatItemNumber(""));
}

}  // namespace
}  // namespace host

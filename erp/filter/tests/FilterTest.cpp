#include "erp/filter/Filter.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace erp {
namespace {

FieldDef field(int number, const char* name, FieldType type, int size) {
  FieldDef field;
  field.number = number;
  field.name = name;
  field.type = type;
  field.size = size;
  return field;
}

ViewDef customerView() {
  ViewDef view;
  view.id = "AR0024";
  view.fields = {
      field(1, "IDCUST", FieldType::Text, 12),   field(2, "NAMECUST", FieldType::Text, 60),
      field(3, "TTYPE", FieldType::Int16, 2),    field(4, "AMTCRLIMT", FieldType::Decimal, 10),
      field(5, "SWACTV", FieldType::Boolean, 2), field(6, "DATESTART", FieldType::Date, 4),
  };
  view.keys = {{"Customer Number", {1}}};
  return view;
}

// Keys sort as texts, so 999 comes after 3000 and a text range over 1000..2000 leaves it out.
class FilterQuery {
 public:
  FilterQuery() : db_(":memory:", SQLite::OPEN_READWRITE) {
    db_.exec(
        "CREATE TABLE ARCUS (IDCUST TEXT PRIMARY KEY, NAMECUST TEXT, TTYPE INTEGER, "
        "AMTCRLIMT REAL, SWACTV INTEGER, DATESTART INTEGER)");
    db_.exec(R"sql(INSERT INTO ARCUS VALUES
        ('1000', 'Acme', 1, 10.5, 1, 20240101),
        ('1500', 'acme', 2, 0, 0, 20230615),
        ('2000', 'Say "Hi"', 1, 99.99, 1, 20241231),
        ('2500', 'C:\', 2, 250, 0, 20240301),
        ('3000', 'A*B?[x]', 1, -5, 1, 0),
        ('999', 'Acme\Ltd', 1, 2, 0, 20240101),
        ('ACME', 'ACME', 2, 1000, 1, 20240101))sql");
  }

  /// The keys of the records that the filter selects, in key order, joined by commas.
  std::string keys(const std::string& filter) {
    SqlFilter sql = compileFilter(view_, filter);
    std::string query = "SELECT IDCUST FROM ARCUS";
    if (!sql.where.empty()) query += " WHERE " + sql.where;
    SQLite::Statement statement(db_, query + " ORDER BY IDCUST");
    for (size_t i = 0; i < sql.params.size(); ++i) {
      int index = static_cast<int>(i + 1);
      const Value& value = sql.params[i];
      if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        statement.bind(index, *whole);
      } else if (const auto* decimal = std::get_if<double>(&value)) {
        statement.bind(index, *decimal);
      } else if (const auto* text = std::get_if<std::string>(&value)) {
        statement.bind(index, *text);
      } else {
        statement.bind(index);
      }
    }
    std::string selected;
    while (statement.executeStep()) {
      if (!selected.empty()) selected += ',';
      selected += statement.getColumn(0).getString();
    }
    return selected;
  }

 private:
  SQLite::Database db_;
  ViewDef view_ = customerView();
};

struct SelectionCase {
  const char* name;
  const char* filter;
  const char* keys;
};

class FilterSelection : public testing::TestWithParam<SelectionCase> {};

TEST_P(FilterSelection, SelectsExpectedKeys) {
  FilterQuery query;
  EXPECT_EQ(GetParam().keys, query.keys(GetParam().filter)) << GetParam().filter;
}

std::string caseName(const testing::TestParamInfo<SelectionCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    TextConstants, FilterSelection,
    testing::Values(SelectionCase{"PaddedRangeMatchesTrimmedKeys",
                                  R"((IDCUST>="1000 ") AND (IDCUST<="2000 "))", "1000,1500,2000"},
                    SelectionCase{"PaddedValueEqualsTrimmedKey", R"(IDCUST = "1000 ")", "1000"},
                    SelectionCase{"BlankAfterEqualsSign", R"((IDCUST= "1500 "))", "1500"},
                    SelectionCase{"EscapedQuotesInValue", R"(NAMECUST="Say \"Hi\" ")", "2000"},
                    SelectionCase{"TrailingBackslashBeforeBlank", R"(NAMECUST="C:\ ")", "2500"},
                    SelectionCase{"InnerBackslashIsLiteral", R"(NAMECUST="Acme\Ltd")", "999"},
                    SelectionCase{"ComparisonIsCaseSensitive", R"(NAMECUST="acme")", "1500"},
                    SelectionCase{"BareNumberForTextFieldIsText", "IDCUST=1000", "1000"},
                    SelectionCase{"BareWordForTextFieldIsText", "NAMECUST=Acme", "1000"},
                    SelectionCase{"LowerCaseFieldName", R"(idcust<"1500")", "1000"},
                    SelectionCase{"NotEqual", R"(NAMECUST!="Acme" AND TTYPE=1)", "2000,3000,999"},
                    SelectionCase{"GreaterThanComparesAsText", R"(IDCUST>"3000")", "999,ACME"},
                    SelectionCase{"ConstantIsNeverSql", R"(NAMECUST="x' OR '1'='1")", ""}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Connectives, FilterSelection,
    testing::Values(
        SelectionCase{"AndThenOrGroupsLeftFirst", R"(TTYPE=2 AND SWACTV=1 OR IDCUST="1000")",
                      "1000,ACME"},
        SelectionCase{"OrThenAndGroupsLeftFirst", R"(IDCUST="1500" OR TTYPE=1 AND SWACTV=1)",
                      "1000,2000,3000"},
        SelectionCase{"ParenthesesOverrideLeftToRight",
                      R"(IDCUST="1500" OR (TTYPE=1 AND SWACTV=1))", "1000,1500,2000,3000"},
        SelectionCase{"KeywordsIgnoreCase", R"(IDCUST="1500" or TTYPE=1 And SWACTV=1)",
                      "1000,2000,3000"},
        SelectionCase{"LongChainStaysLeftToRight",
                      "TTYPE=2 OR SWACTV=0 AND AMTCRLIMT>1 OR IDCUST=3000 AND DATESTART=0", "3000"},
        SelectionCase{"NestedGroups", R"(((TTYPE=1) AND ((SWACTV=0) OR (IDCUST="3000"))))",
                      "3000,999"},
        SelectionCase{"BlanksOptionalAroundTokens", R"((TTYPE=2)AND(NAMECUST="ACME"))", "ACME"},
        SelectionCase{"EmptyFilterSelectsAll", "", "1000,1500,2000,2500,3000,999,ACME"},
        SelectionCase{"BlankFilterSelectsAll", " \t ", "1000,1500,2000,2500,3000,999,ACME"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Like, FilterSelection,
    testing::Values(
        SelectionCase{"PercentMatchesAnyRun", R"(NAMECUST LIKE "Acme%")", "1000,999"},
        SelectionCase{"UnderscoreMatchesOneCharacter", R"(IDCUST LIKE "_000")", "1000,2000,3000"},
        SelectionCase{"PatternIsCaseSensitive", R"(NAMECUST LIKE "acme%")", "1500"},
        SelectionCase{"KeywordIgnoresCase", R"(NAMECUST like "ACME")", "ACME"},
        SelectionCase{"GlobCharactersAreLiteral", R"(NAMECUST LIKE "A*B?[x]")", "3000"},
        SelectionCase{"StarBeforePercentIsLiteral", R"(NAMECUST LIKE "A*%")", "3000"},
        SelectionCase{"TrailingBlanksOfPatternIgnored", R"(IDCUST LIKE "1%  ")", "1000,1500"},
        SelectionCase{"NoWildcardMeansWholeValue", R"(IDCUST LIKE "100")", ""}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    FieldToField, FilterSelection,
    testing::Values(SelectionCase{"TextFields", "IDCUST=NAMECUST", "ACME"},
                    SelectionCase{"FieldOperandIgnoresCase", "idcust = namecust", "ACME"},
                    SelectionCase{"NumericFields", "TTYPE>AMTCRLIMT", "1500,3000"},
                    SelectionCase{"QuotedFieldNameIsText", R"(NAMECUST="IDCUST")", ""}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Numbers, FilterSelection,
    testing::Values(SelectionCase{"WholeNumber", "TTYPE=1", "1000,2000,3000,999"},
                    SelectionCase{"QuotedNumber", R"(TTYPE="2 ")", "1500,2500,ACME"},
                    SelectionCase{"PlusSign", "TTYPE=+2", "1500,2500,ACME"},
                    SelectionCase{"DecimalBound", "AMTCRLIMT>=10.5", "1000,2000,2500,ACME"},
                    SelectionCase{"WholeBoundOnDecimalField", "AMTCRLIMT<1", "1500,3000"},
                    SelectionCase{"NegativeNumber", "AMTCRLIMT=-5", "3000"},
                    SelectionCase{"DateRange", "DATESTART>=20240101 AND DATESTART<=20240301",
                                  "1000,2500,999,ACME"},
                    SelectionCase{"BooleanFalse", "SWACTV=0", "1500,2500,999"}),
    caseName);

struct ErrorCase {
  const char* name;
  std::string filter;
  std::string message;
  size_t position;
};

class FilterRejection : public testing::TestWithParam<ErrorCase> {};

TEST_P(FilterRejection, ReportsProblemAndPosition) {
  try {
    compileFilter(customerView(), GetParam().filter);
    ADD_FAILURE() << "accepted " << GetParam().filter;
  } catch (const FilterError& error) {
    EXPECT_EQ(GetParam().message, std::string(error.what()));
    EXPECT_EQ(GetParam().position, error.position());
  }
}

std::string errorName(const testing::TestParamInfo<ErrorCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, FilterRejection,
    testing::Values(
        ErrorCase{"MissingClosingParenthesis", R"((IDCUST>="1000 ")",
                  "Missing closing parenthesis at position 16.", 16},
        ErrorCase{"UnterminatedString", R"(NAMECUST="abc)", "Unterminated string at position 9.",
                  9},
        ErrorCase{"BackslashQuoteDoesNotClose", R"(NAMECUST="C:\")",
                  "Unterminated string at position 9.", 9},
        ErrorCase{"MissingOperator", R"(IDCUST "1000")",
                  "Expected an operator after IDCUST at position 7.", 7},
        ErrorCase{"MissingValue", "TTYPE=", "Expected a value after = at position 6.", 6},
        ErrorCase{"DoubledOperator", "TTYPE==1", "Expected a value after = at position 6.", 6},
        ErrorCase{"LoneExclamationMark", "TTYPE!1", "Unexpected character ! at position 5.", 5},
        ErrorCase{"MissingConnective", "TTYPE=1 TTYPE=2",
                  "Unexpected text after the filter at position 8.", 8},
        ErrorCase{"StrayClosingParenthesis", "TTYPE=1)",
                  "Unexpected text after the filter at position 7.", 7},
        ErrorCase{"DanglingConnective", "TTYPE=1 AND",
                  "Expected a condition after AND at position 11.", 11},
        ErrorCase{"LoneOpeningParenthesis", "(", "Expected a condition after ( at position 1.", 1},
        ErrorCase{"EmptyParentheses", "()",
                  "Expected a field name or an opening parenthesis at position 1.", 1},
        ErrorCase{"ConstantOnTheLeft", R"("A"=NAMECUST)",
                  "Expected a field name or an opening parenthesis at position 0.", 0},
        ErrorCase{"MissingConnectiveInGroup", "(TTYPE=1 TTYPE=2)",
                  "Expected AND, OR or a closing parenthesis at position 9.", 9}),
    errorName);

INSTANTIATE_TEST_SUITE_P(
    Meaning, FilterRejection,
    testing::Values(
        ErrorCase{"UnknownField", R"(NAMEX="A")", "Unknown field NAMEX at position 0.", 0},
        ErrorCase{"UnknownFieldInGroup", R"((NAMEX="A"))", "Unknown field NAMEX at position 1.", 1},
        ErrorCase{"UnknownFieldAfterValidCondition", "TTYPE=1 AND namex=2",
                  "Unknown field namex at position 12.", 12},
        ErrorCase{"UnknownFieldWithControlCharacters", std::string("NA\0M\001E=1", 9),
                  "Unknown field NA?M?E at position 0.", 0},
        ErrorCase{"LongUnknownFieldIsCut", std::string(50, 'X') + "=1",
                  "Unknown field " + std::string(40, 'X') + "... at position 0.", 0},
        ErrorCase{"WordForNumericField", "TTYPE=ABC", "Expected a number for TTYPE at position 6.",
                  6},
        ErrorCase{"QuotedNonNumber", R"(TTYPE="1x")", "Expected a number for TTYPE at position 6.",
                  6},
        ErrorCase{"PointWithoutFraction", "AMTCRLIMT=1.",
                  "Expected a number for AMTCRLIMT at position 10.", 10},
        ErrorCase{"Exponent", "AMTCRLIMT=1e3", "Expected a number for AMTCRLIMT at position 10.",
                  10},
        ErrorCase{"NumberTooLarge", "TTYPE=99999999999999999999",
                  "Number out of range for TTYPE at position 6.", 6},
        ErrorCase{"TextFieldWithNumericField", "IDCUST=TTYPE",
                  "Text field IDCUST cannot be compared with numeric field TTYPE at position 7.",
                  7},
        ErrorCase{"NumericFieldWithTextField", "TTYPE=IDCUST",
                  "Text field IDCUST cannot be compared with numeric field TTYPE at position 6.",
                  6},
        ErrorCase{"LikeOnNumericField", R"(TTYPE LIKE "1%")",
                  "LIKE needs a text field but TTYPE is numeric at position 6.", 6},
        ErrorCase{"LikeWithFieldOperand", "NAMECUST LIKE IDCUST",
                  "LIKE needs a quoted pattern, not the field IDCUST at position 14.", 14}),
    errorName);

std::string repeated(const std::string& piece, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

TEST(FilterLimits, AcceptsParenthesesNestedToTheLimit) {
  FilterQuery query;
  EXPECT_EQ("1500", query.keys(repeated("(", 64) + "IDCUST=1500" + repeated(")", 64)));
}

TEST(FilterLimits, RejectsDeeperNestingWithoutOverflowingTheStack) {
  for (size_t depth : {65u, 100000u}) {
    std::string filter = repeated("(", depth) + "TTYPE=1" + repeated(")", depth);
    try {
      compileFilter(customerView(), filter);
      ADD_FAILURE() << "accepted nesting " << depth;
    } catch (const FilterError& error) {
      EXPECT_EQ("Parentheses nested more than 64 deep at position 64.", std::string(error.what()));
    }
  }
}

TEST(FilterLimits, LongestChainRunsInSqlite) {
  FilterQuery query;
  EXPECT_EQ("3000", query.keys(repeated("TTYPE=9 OR ", 499) + "AMTCRLIMT<0"));
}

// Starts true only for 3000, which every AND keeps and no OR adds to.
std::string alternatingChain(size_t terms) {
  std::string filter = "AMTCRLIMT<0";
  for (size_t i = 1; i < terms; ++i) filter += i % 2 ? " AND SWACTV=1" : " OR TTYPE=9";
  return filter;
}

TEST(FilterLimits, AlternatingConnectivesUpToTheLimitRunInSqlite) {
  FilterQuery query;
  EXPECT_EQ("3000", query.keys(alternatingChain(64)));
}

TEST(FilterLimits, RejectsConnectivesAlternatingBeyondTheLimit) {
  try {
    compileFilter(customerView(), "TTYPE=1 AND (" + alternatingChain(64) + ")");
    ADD_FAILURE() << "accepted 65 levels";
  } catch (const FilterError& error) {
    EXPECT_EQ("AND and OR groups nested more than 64 deep at position 13.",
              std::string(error.what()));
  }
}

TEST(FilterLimits, RejectsTooManyConditions) {
  std::string filter = repeated("TTYPE=1 OR ", 500) + "TTYPE=2";
  try {
    compileFilter(customerView(), filter);
    ADD_FAILURE() << "accepted 501 conditions";
  } catch (const FilterError& error) {
    EXPECT_EQ("More than 500 conditions at position 5500.", std::string(error.what()));
    EXPECT_EQ(5500u, error.position());
  }
}

TEST(FilterSql, ParenthesisesEveryConnectiveFromTheLeft) {
  SqlFilter sql = compileFilter(customerView(), "TTYPE=1 OR TTYPE=2 AND SWACTV=1");
  EXPECT_EQ(R"(((("TTYPE" = ?) OR ("TTYPE" = ?)) AND ("SWACTV" = ?)))", sql.where);
}

TEST(FilterSql, RunOfOneConnectiveSharesOneGroup) {
  SqlFilter sql = compileFilter(customerView(), "TTYPE=1 AND SWACTV=1 AND DATESTART=0 OR TTYPE=2");
  EXPECT_EQ(R"(((("TTYPE" = ?) AND ("SWACTV" = ?) AND ("DATESTART" = ?)) OR ("TTYPE" = ?)))",
            sql.where);
}

TEST(FilterSql, BindsConstantsInOrderWithTheirTypes) {
  SqlFilter sql =
      compileFilter(customerView(),
                    R"(IDCUST>="1000 " AND TTYPE="2" AND AMTCRLIMT>1.5 AND NAMECUST LIKE "A_%*")");
  std::vector<Value> expected{std::string("1000"), std::int64_t{2}, 1.5, std::string("A?*[*]")};
  EXPECT_EQ(expected, sql.params);
}

TEST(FilterSql, FieldToFieldBindsNothing) {
  SqlFilter sql = compileFilter(customerView(), "TTYPE<=AMTCRLIMT");
  EXPECT_EQ(R"(("TTYPE" <= "AMTCRLIMT"))", sql.where);
  EXPECT_TRUE(sql.params.empty());
}

TEST(FilterSql, BlankFilterHasNoCondition) {
  SqlFilter sql = compileFilter(customerView(), "  \r\n");
  EXPECT_EQ("", sql.where);
  EXPECT_TRUE(sql.params.empty());
}

TEST(FilterSql, ColumnIsQuotedFieldName) {
  EXPECT_EQ(R"("IDCUST")", sqlColumn(field(1, "IDCUST", FieldType::Text, 12)));
  EXPECT_EQ(R"("A""B")", sqlColumn(field(1, R"(A"B)", FieldType::Text, 12)));
}

}  // namespace
}  // namespace erp

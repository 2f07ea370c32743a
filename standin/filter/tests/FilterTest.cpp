#include "standin/filter/Filter.h"

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

// Each case gives the keys of the records the filter selects, in key order.
void ExpectSelection(FilterQuery& query, const char* name, const std::string& filter,
                     const char* keys) {
  EXPECT_EQ(keys, query.keys(filter)) << name << ": " << filter;
}

TEST(FilterSelection, TextConstants) {
  FilterQuery query;
  ExpectSelection(query, "PaddedRangeMatchesTrimmedKeys",
                  R"((IDCUST>="1000 ") AND (IDCUST<="2000 "))", "1000,1500,2000");
  ExpectSelection(query, "PaddedValueEqualsTrimmedKey", R"(IDCUST = "1000 ")", "1000");
  ExpectSelection(query, "BlankAfterEqualsSign", R"((IDCUST= "1500 "))", "1500");
  ExpectSelection(query, "EscapedQuotesInValue", R"(NAMECUST="Say \"Hi\" ")", "2000");
  ExpectSelection(query, "TrailingBackslashBeforeBlank", R"(NAMECUST="C:\ ")", "2500");
  ExpectSelection(query, "InnerBackslashIsLiteral", R"(NAMECUST="Acme\Ltd")", "999");
  ExpectSelection(query, "ComparisonIsCaseSensitive", R"(NAMECUST="acme")", "1500");
  ExpectSelection(query, "BareNumberForTextFieldIsText", "IDCUST=1000", "1000");
  ExpectSelection(query, "BareWordForTextFieldIsText", "NAMECUST=Acme", "1000");
  ExpectSelection(query, "LowerCaseFieldName", R"(idcust<"1500")", "1000");
  ExpectSelection(query, "NotEqual", R"(NAMECUST!="Acme" AND TTYPE=1)", "2000,3000,999");
  ExpectSelection(query, "GreaterThanComparesAsText", R"(IDCUST>"3000")", "999,ACME");
  ExpectSelection(query, "ConstantIsNeverSql", R"(NAMECUST="x' OR '1'='1")", "");
}

TEST(FilterSelection, Connectives) {
  FilterQuery query;
  ExpectSelection(query, "AndThenOrGroupsLeftFirst", R"(TTYPE=2 AND SWACTV=1 OR IDCUST="1000")",
                  "1000,ACME");
  ExpectSelection(query, "OrThenAndGroupsLeftFirst", R"(IDCUST="1500" OR TTYPE=1 AND SWACTV=1)",
                  "1000,2000,3000");
  ExpectSelection(query, "ParenthesesOverrideLeftToRight",
                  R"(IDCUST="1500" OR (TTYPE=1 AND SWACTV=1))", "1000,1500,2000,3000");
  ExpectSelection(query, "KeywordsIgnoreCase", R"(IDCUST="1500" or TTYPE=1 And SWACTV=1)",
                  "1000,2000,3000");
  ExpectSelection(query, "LongChainStaysLeftToRight",
                  "TTYPE=2 OR SWACTV=0 AND AMTCRLIMT>1 OR IDCUST=3000 AND DATESTART=0", "3000");
  ExpectSelection(query, "NestedGroups", R"(((TTYPE=1) AND ((SWACTV=0) OR (IDCUST="3000"))))",
                  "3000,999");
  ExpectSelection(query, "BlanksOptionalAroundTokens", R"((TTYPE=2)AND(NAMECUST="ACME"))", "ACME");
  ExpectSelection(query, "EmptyFilterSelectsAll", "", "1000,1500,2000,2500,3000,999,ACME");
  ExpectSelection(query, "BlankFilterSelectsAll", " \t ", "1000,1500,2000,2500,3000,999,ACME");
}

TEST(FilterSelection, Like) {
  FilterQuery query;
  ExpectSelection(query, "PercentMatchesAnyRun", R"(NAMECUST LIKE "Acme%")", "1000,999");
  ExpectSelection(query, "UnderscoreMatchesOneCharacter", R"(IDCUST LIKE "_000")",
                  "1000,2000,3000");
  ExpectSelection(query, "PatternIsCaseSensitive", R"(NAMECUST LIKE "acme%")", "1500");
  ExpectSelection(query, "KeywordIgnoresCase", R"(NAMECUST like "ACME")", "ACME");
  ExpectSelection(query, "GlobCharactersAreLiteral", R"(NAMECUST LIKE "A*B?[x]")", "3000");
  ExpectSelection(query, "StarBeforePercentIsLiteral", R"(NAMECUST LIKE "A*%")", "3000");
  ExpectSelection(query, "TrailingBlanksOfPatternIgnored", R"(IDCUST LIKE "1%  ")", "1000,1500");
  ExpectSelection(query, "NoWildcardMeansWholeValue", R"(IDCUST LIKE "100")", "");
}

TEST(FilterSelection, FieldToField) {
  FilterQuery query;
  ExpectSelection(query, "TextFields", "IDCUST=NAMECUST", "ACME");
  ExpectSelection(query, "FieldOperandIgnoresCase", "idcust = namecust", "ACME");
  ExpectSelection(query, "NumericFields", "TTYPE>AMTCRLIMT", "1500,3000");
  ExpectSelection(query, "QuotedFieldNameIsText", R"(NAMECUST="IDCUST")", "");
}

TEST(FilterSelection, Numbers) {
  FilterQuery query;
  ExpectSelection(query, "WholeNumber", "TTYPE=1", "1000,2000,3000,999");
  ExpectSelection(query, "QuotedNumber", R"(TTYPE="2 ")", "1500,2500,ACME");
  ExpectSelection(query, "PlusSign", "TTYPE=+2", "1500,2500,ACME");
  ExpectSelection(query, "DecimalBound", "AMTCRLIMT>=10.5", "1000,2000,2500,ACME");
  ExpectSelection(query, "WholeBoundOnDecimalField", "AMTCRLIMT<1", "1500,3000");
  ExpectSelection(query, "NegativeNumber", "AMTCRLIMT=-5", "3000");
  ExpectSelection(query, "LargestWhole", "TTYPE<9223372036854775807",
                  "1000,1500,2000,2500,3000,999,ACME");
  ExpectSelection(query, "DateRange", "DATESTART>=20240101 AND DATESTART<=20240301",
                  "1000,2500,999,ACME");
  ExpectSelection(query, "BooleanFalse", "SWACTV=0", "1500,2500,999");
}

// Each case gives the message a filter is refused with and the position the message names.
void ExpectRefusal(const char* name, const std::string& filter, const std::string& message,
                   size_t position) {
  try {
    compileFilter(customerView(), filter);
    ADD_FAILURE() << name << ": accepted " << filter;
  } catch (const FilterError& error) {
    EXPECT_EQ(message, std::string(error.what())) << name;
    EXPECT_EQ(position, error.position()) << name;
  }
}

TEST(FilterRejection, Malformed) {
  ExpectRefusal("MissingClosingParenthesis", R"((IDCUST>="1000 ")",
                "Missing closing parenthesis at position 16.", 16);
  ExpectRefusal("UnterminatedString", R"(NAMECUST="abc)", "Unterminated string at position 9.", 9);
  ExpectRefusal("BackslashQuoteDoesNotClose", R"(NAMECUST="C:\")",
                "Unterminated string at position 9.", 9);
  ExpectRefusal("MissingOperator", R"(IDCUST "1000")",
                "Expected an operator after IDCUST at position 7.", 7);
  ExpectRefusal("MissingValue", "TTYPE=", "Expected a value after = at position 6.", 6);
  ExpectRefusal("DoubledOperator", "TTYPE==1", "Expected a value after = at position 6.", 6);
  ExpectRefusal("LoneExclamationMark", "TTYPE!1", "Unexpected character ! at position 5.", 5);
  ExpectRefusal("MissingConnective", "TTYPE=1 TTYPE=2",
                "Unexpected text after the filter at position 8.", 8);
  ExpectRefusal("StrayClosingParenthesis", "TTYPE=1)",
                "Unexpected text after the filter at position 7.", 7);
  ExpectRefusal("DanglingConnective", "TTYPE=1 AND",
                "Expected a condition after AND at position 11.", 11);
  ExpectRefusal("LoneOpeningParenthesis", "(", "Expected a condition after ( at position 1.", 1);
  ExpectRefusal("EmptyParentheses", "()",
                "Expected a field name or an opening parenthesis at position 1.", 1);
  ExpectRefusal("ConstantOnTheLeft", R"("A"=NAMECUST)",
                "Expected a field name or an opening parenthesis at position 0.", 0);
  ExpectRefusal("MissingConnectiveInGroup", "(TTYPE=1 TTYPE=2)",
                "Expected AND, OR or a closing parenthesis at position 9.", 9);
}

TEST(FilterRejection, Meaning) {
  ExpectRefusal("UnknownField", R"(NAMEX="A")", "Unknown field NAMEX at position 0.", 0);
  ExpectRefusal("UnknownFieldInGroup", R"((NAMEX="A"))", "Unknown field NAMEX at position 1.", 1);
  ExpectRefusal("UnknownFieldAfterValidCondition", "TTYPE=1 AND namex=2",
                "Unknown field namex at position 12.", 12);
  ExpectRefusal("UnknownFieldWithControlCharacters", std::string("NA\0M\001E=1", 9),
                "Unknown field NA?M?E at position 0.", 0);
  ExpectRefusal("LongUnknownFieldIsCut", std::string(50, 'X') + "=1",
                "Unknown field " + std::string(40, 'X') + "... at position 0.", 0);
  ExpectRefusal("WordForNumericField", "TTYPE=ABC", "Expected a number for TTYPE at position 6.",
                6);
  for (const char* text : {"1x", ".5", "5.", "0x10", "--1", "1 2", "-", "1e3"}) {
    ExpectRefusal(text, "TTYPE=\"" + std::string(text) + "\"",
                  "Expected a number for TTYPE at position 6.", 6);
  }
  ExpectRefusal("PointWithoutFraction", "AMTCRLIMT=1.",
                "Expected a number for AMTCRLIMT at position 10.", 10);
  ExpectRefusal("Exponent", "AMTCRLIMT=1e3", "Expected a number for AMTCRLIMT at position 10.", 10);
  ExpectRefusal("NumberJustTooLarge", "TTYPE=9223372036854775808",
                "Number out of range for TTYPE at position 6.", 6);
  ExpectRefusal("TextFieldWithNumericField", "IDCUST=TTYPE",
                "Text field IDCUST cannot be compared with numeric field TTYPE at position 7.", 7);
  ExpectRefusal("NumericFieldWithTextField", "TTYPE=IDCUST",
                "Text field IDCUST cannot be compared with numeric field TTYPE at position 6.", 6);
  ExpectRefusal("LikeOnNumericField", R"(TTYPE LIKE "1%")",
                "LIKE needs a text field but TTYPE is numeric at position 6.", 6);
  ExpectRefusal("LikeWithFieldOperand", "NAMECUST LIKE IDCUST",
                "LIKE needs a quoted pattern, not the field IDCUST at position 14.", 14);
}

std::string repeated(const std::string& piece, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

/// The message of the error a filter is refused with, or "accepted".
std::string refusal(const std::string& filter) {
  try {
    compileFilter(customerView(), filter);
    return "accepted";
  } catch (const FilterError& error) {
    return error.what();
  }
}

// Starts true only for 3000, which every AND keeps and no OR adds to.
std::string alternatingChain(size_t terms) {
  std::string filter = "AMTCRLIMT<0";
  for (size_t i = 1; i < terms; ++i) filter += i % 2 ? " AND SWACTV=1" : " OR TTYPE=9";
  return filter;
}

TEST(FilterLimits, FiltersUpToEachLimitRunInSqliteAndBeyondAreRefused) {
  FilterQuery query;
  EXPECT_EQ("1500", query.keys(repeated("(", 64) + "IDCUST=1500" + repeated(")", 64)));
  EXPECT_EQ("3000", query.keys(repeated("TTYPE=9 OR ", 499) + "AMTCRLIMT<0"));
  EXPECT_EQ("3000", query.keys(alternatingChain(64)));
  for (size_t depth : {65u, 100000u}) {  // the deep one must not overflow the stack
    EXPECT_EQ("Parentheses nested more than 64 deep at position 64.",
              refusal(repeated("(", depth) + "TTYPE=1" + repeated(")", depth)));
  }
  EXPECT_EQ("AND and OR groups nested more than 64 deep at position 13.",
            refusal("TTYPE=1 AND (" + alternatingChain(64) + ")"));
  EXPECT_EQ("More than 500 conditions at position 5500.",
            refusal(repeated("TTYPE=1 OR ", 500) + "TTYPE=2"));
}

TEST(FilterSql, BindsConstantsInOrderWithTheirTypes) {
  SqlFilter sql =
      compileFilter(customerView(),
                    R"(IDCUST>="1000 " AND TTYPE="2" AND AMTCRLIMT>1.5 AND NAMECUST LIKE "A_%*")");
  std::vector<Value> expected{std::string("1000"), std::int64_t{2}, 1.5, std::string("A?*[*]")};
  EXPECT_EQ(expected, sql.params);
}

TEST(FilterSql, ColumnIsQuotedFieldName) {
  EXPECT_EQ(R"("IDCUST")", sqlColumn(field(1, "IDCUST", FieldType::Text, 12)));
  EXPECT_EQ(R"("A""B")", sqlColumn(field(1, R"(A"B)", FieldType::Text, 12)));
}

}  // namespace
}  // namespace erp

#include "host/webapi/FieldValues.h"
#include "host/webapi/Metadata.h"
#include "host/webapi/WebApiFailure.h"

#include "platform/tests/testsupport/TestData.h"

#include <gtest/gtest.h>

namespace host::webapi {
namespace {

using I = std::int64_t;

// Servers write values in several ways; each a server may use reads as the field stores it.
TEST(WebApiValuesTest, EveryFormAServerMayUseReadsAsTheFieldStoresIt) {
  auto read = [](FieldType type, const char* json) {
    try {
      return FromJson({1, "F", "Field", type, 10}, "Field", nlohmann::json::parse(json));
    } catch (const std::invalid_argument& error) {
      return Variant(std::string(error.what()));
    }
  };
  EXPECT_EQ(Variant(std::string("  ONHST")), read(FieldType::Text, "\"  ONHST   \""));
  EXPECT_EQ(Variant(std::string()), read(FieldType::Text, "null"));
  for (const char* yes : {"\"Yes\"", "true", "1", "\"True\""}) {
    EXPECT_EQ(Variant(I{1}), read(FieldType::Boolean, yes)) << yes;
  }
  for (const char* no : {"\"No\"", "false", "0", "null"}) {
    EXPECT_EQ(Variant(I{0}), read(FieldType::Boolean, no)) << no;
  }
  for (const char* date : {"\"2010-07-01T00:00:00Z\"", "\"2010-07-01\"", "\"2010-07-01T00:00:00\"",
                           "\"/Date(1277942400000)/\"", "\"/Date(1277942400000+0000)/\""}) {
    EXPECT_EQ(Variant(I{20100701}), read(FieldType::Date, date)) << date;
  }
  EXPECT_EQ(Variant(I{0}), read(FieldType::Date, "null"));
  EXPECT_EQ(Variant(2.5), read(FieldType::Decimal, "\"2.5\""));
  EXPECT_EQ(Variant(I{7}), read(FieldType::Int16, "\"7\""));
  EXPECT_EQ(Variant(std::string("The Web API server gave Field the value \"seven\", which the "
                                "program cannot read.")),
            read(FieldType::Int32, "\"seven\""));
  EXPECT_EQ(Variant(std::string("The Web API server gave Field the value \"2010-13-01\", which "
                                "the program cannot read.")),
            read(FieldType::Date, "\"2010-13-01\""));
}

TEST(WebApiValuesTest, AValueIsSentInTheFormThePublishedPayloadsUse) {
  auto sent = [](FieldType type, const Variant& value) {
    return ToJson({1, "F", "Field", type, 10}, value).dump();
  };
  EXPECT_EQ("\"Yes\"", sent(FieldType::Boolean, I{1}));
  EXPECT_EQ("\"2010-07-01T00:00:00Z\"", sent(FieldType::Date, I{20100701}));
  EXPECT_EQ("null", sent(FieldType::Date, I{0}));
  EXPECT_EQ("3", sent(FieldType::Int16, std::string("3")));
  EXPECT_EQ("\"A'1\"", sent(FieldType::Text, std::string("A'1")));
}

TEST(WebApiValuesTest, AnErrorAnswerGivesTheErpsCodeAndMessageInWhicheverFormItComes) {
  auto failure = [](int status, const char* body) {
    const WebApiFailure answered = AnsweredFailure(status, body);
    return answered.Code() + ": " + answered.what() +
           (answered.NothingDone() ? " (nothing done)" : "");
  };
  EXPECT_EQ("RecordInvalid: Tax Group X does not exist. (nothing done)",
            failure(400, R"({"error":{"code":"RecordInvalid","message":{"lang":"en-US",)"
                         R"("value":"Tax Group X does not exist."}}})"));
  EXPECT_EQ(
      "General: The record is locked.",
      failure(500, R"({"odata.error":{"code":"General","message":"The record is locked."}})"));
  EXPECT_EQ("TooManyRequests: The Web API server answered HTTP 429 TooManyRequests. (nothing done)",
            failure(429, R"({"error":{"code":"TooManyRequests"}})"));
  EXPECT_EQ(": The Web API server answered HTTP 502.", failure(502, "<html>Bad Gateway</html>"));
}

TEST(WebApiValuesTest, TheMetadataGivesEachSetsPropertiesAndRowsWhateverItsNamespaces) {
  const ServiceMetadata metadata =
      ParseMetadata(platform::testing::TestData("src/host/webapi/tests/data/aliased-metadata.xml"));
  ASSERT_NE(nullptr, metadata.EntityType("ARItems"));
  EXPECT_EQ(std::vector<std::string>{"ItemNumber"}, metadata.EntityType("ARItems")->keys);
  ASSERT_NE(nullptr, metadata.RowType("ARItems", "ItemTaxClasses")) << "named by its alias";
  EXPECT_TRUE(metadata.RowType("ARItems", "ItemTaxClasses")->properties.contains("TaxAuthority"));
  EXPECT_EQ(nullptr, metadata.EntityType("ARCustomers"));
  EXPECT_THROW(ParseMetadata("<Edmx><Schema>"), std::invalid_argument);
}

}  // namespace
}  // namespace host::webapi

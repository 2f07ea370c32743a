#include "standin/webapi/tests/WebApiSite.h"

#include "platform/tests/testsupport/TestData.h"

#include <gtest/gtest.h>

#include <set>

namespace erp::webapi::testing {
namespace {

using nlohmann::json;

std::string errorCode(const httplib::Result& result) {
  const json body = bodyOf(result);
  return body.is_object() && body.contains("error") ? body["error"]["code"].get<std::string>() : "";
}

/// The values of one property in a feed's records, joined by blanks.
std::string column(const json& feed, const std::string& property) {
  std::string values;
  for (const json& record : feed["value"]) {
    values += (values.empty() ? "" : " ") + record[property].get<std::string>();
  }
  return values;
}

TEST(WebApiServerTest, RefusesWhoMayNotReachTheModule) {
  WebApiSite site;
  struct Case {
    const char* name;
    std::string user, password, resource;
    int status;
    const char* code;
  };
  for (const Case& c : {
           Case{"wrong password", "ADMIN", "nope", "AR/ARCustomers", 401, "Unauthorized"},
           Case{"unknown user", "NOBODY", "pw", "AR/ARCustomers", 401, "Unauthorized"},
           Case{"no Web API authorization", "CLERK", "pw", "AR/ARCustomers", 403, "Forbidden"},
           Case{"no access to the company", "OUTSIDER", "pw", "AR/ARCustomers", 403, "Forbidden"},
           Case{"module not active", "ADMIN", "pw", "AP/APVendors", 404, "InvalidParameters"},
           Case{"no such entity set", "ADMIN", "pw", "AR/APVendors", 404, "InvalidParameters"},
       }) {
    SCOPED_TRACE(c.name);
    httplib::Client client = site.client();
    client.set_basic_auth(c.user.c_str(), c.password.c_str());
    const auto result = client.Get(WebApiSite::path(c.resource).c_str());
    ASSERT_TRUE(result);
    EXPECT_EQ(c.status, result->status);
    EXPECT_EQ(c.code, errorCode(result));
  }
  site.site().revokeWebApi("ADMIN", "AR");
  EXPECT_EQ(403, site.get("AR/ARCustomers")->status) << "a grant taken back counts at once";
}

TEST(WebApiServerTest, MetadataDescribesEntitySetsWithKeysTypesAndDetailCollections) {
  WebApiSite site;
  const auto result = site.get("AR/$metadata");
  ASSERT_TRUE(result);
  EXPECT_EQ(200, result->status);
  EXPECT_NE(
      std::string::npos,
      result->body.find(platform::testing::TestData("standin/webapi/tests/data/ar-items.edmx")))
      << result->body;
  for (const char* set :
       {"ARCustomers", "ARCustomerGroups", "ARShipToLocations", "ARRecurringCharges", "ARItems"}) {
    EXPECT_NE(std::string::npos, result->body.find("<EntitySet Name=\"" + std::string(set))) << set;
  }
  EXPECT_NE(std::string::npos, site.get("TX/$metadata")->body.find("\"TXTaxGroups\""));
}

TEST(WebApiServerTest, FeedsComeInPagesWithCountAndNextLink) {
  ServerOptions options;
  options.pageSize = 3;
  WebApiSite site(options);
  struct Case {
    const char* query;
    const char* keys;
    bool next;
  };
  for (const Case& c :
       {Case{"", "1000 1010 1020", true}, Case{"$top=2", "1000 1010", false},
        Case{"$skip=2", "1020 A'1", false}, Case{"$skip=1&$top=3", "1010 1020 A'1", false},
        Case{"$skip=9", "", false}}) {
    SCOPED_TRACE(c.query);
    const json page = bodyOf(site.get(std::string("AR/ARCustomers?$count=true&") + c.query));
    EXPECT_EQ(c.keys, column(page, "CustomerNumber"));
    EXPECT_EQ(4, page["odata.count"]);
    EXPECT_EQ(c.next, page.contains("odata.nextLink"));
  }
  const std::string next =
      bodyOf(site.get("AR/ARCustomers?$select=CustomerNumber"))["odata.nextLink"];
  const json rest = bodyOf(site.client().Get(next.substr(next.find("/Sage300WebApi")).c_str()));
  EXPECT_EQ("A'1", column(rest, "CustomerNumber"));
  EXPECT_EQ(1u, rest["value"][0].size()) << "the next link keeps $select";
}

TEST(WebApiServerTest, FilterTakesEveryOperatorAndRefusesWhatItCannotTranslate) {
  WebApiSite site;
  struct Case {
    const char* filter;
    const char* keys;  ///< nullptr: refused with InvalidParameters
  };
  for (const Case& c : {
           Case{"CustomerNumber eq '1010'", "1010"},
           Case{"CustomerNumber ne '1010'", "1000 1020 A'1"},
           Case{"CustomerNumber gt '1010'", "1020 A'1"},
           Case{"CustomerNumber ge '1010'", "1010 1020 A'1"},
           Case{"CustomerNumber lt '1010'", "1000"},
           Case{"'1010' ge CustomerNumber", "1000 1010"},
           Case{"CustomerNumber le '1010' and TaxClassCode1 eq 2", "1010"},
           Case{"TaxGroup eq 'HST' or TaxClassCode1 eq 2 and TaxGroup eq 'OLD'", "1010 1020"},
           Case{"(TaxGroup eq 'HST' or TaxClassCode1 eq 2) and CustomerNumber lt '1015'", "1010"},
           Case{"startswith(CustomerNumber,'10') eq true", "1000 1010 1020"},
           Case{"endswith(CustomerNumber,'20')", "1020"},
           Case{"substringof('''', CustomerNumber)", "A'1"},
           Case{"TaxClassCode1 eq TaxClassCode2", "1000 1010 A'1"},
           Case{"Nonsense eq 1", nullptr},
           Case{"CustomerNumber eq 1000", nullptr},
           Case{"startswith(CustomerNumber,'1_')", nullptr},
           Case{"tolower(CustomerNumber) eq '1000'", nullptr},
           Case{"CustomerNumber eq '1000' and", nullptr},
           Case{"(((((((((((((((((((((((((((((((((((TaxClassCode1 eq "
                "1)))))))))))))))))))))))))))))))))))",
                nullptr},
       }) {
    SCOPED_TRACE(c.filter);
    const auto result = site.get(std::string("AR/ARCustomers?$filter=") + c.filter);
    ASSERT_TRUE(result);
    if (c.keys) {
      EXPECT_EQ(c.keys, column(bodyOf(result), "CustomerNumber"));
    } else {
      EXPECT_EQ(400, result->status);
      EXPECT_EQ("InvalidParameters", errorCode(result));
    }
  }
}

TEST(WebApiServerTest, ReadsOneRecordBySingleOrCompositeKey) {
  WebApiSite site;
  struct Case {
    const char* resource;
    int status;
    const char* found;  ///< the record's first key value
  };
  for (const Case& c : {
           Case{"AR/ARCustomers('1010')", 200, "1010"},
           Case{"AR/ARCustomers(CustomerNumber='A''1')", 200, "A'1"},
           Case{"AR/ARShipToLocations(ShipToLocationKey='WHSE', CustomerNumber='1000')", 200,
                "1000"},
           Case{"AR/ARCustomers('9999')", 404, nullptr},
           Case{"AR/ARShipToLocations('1000')", 400, nullptr},
           Case{"AR/ARShipToLocations(CustomerNumber='1000')", 400, nullptr},
           Case{"AR/ARShipToLocations(CustomerNumber='1000',Color='red')", 400, nullptr},
           Case{"AR/ARCustomers(1000)", 400, nullptr},
           Case{"AR/ARCustomers('1000", 404, nullptr},
       }) {
    SCOPED_TRACE(c.resource);
    const auto result = site.get(c.resource);
    ASSERT_TRUE(result);
    EXPECT_EQ(c.status, result->status);
    if (c.found) {
      EXPECT_EQ(c.found, bodyOf(result)["CustomerNumber"]);
    }
  }
  const json item = bodyOf(site.get("AR/ARItems('ITEM1')?$select=ItemTaxClasses"));
  EXPECT_EQ(R"([{"ItemNumber":"ITEM1","TaxAuthority":"GST","TaxClass":1,"TaxIncluded":"No"},)"
            R"({"ItemNumber":"ITEM1","TaxAuthority":"PST","TaxClass":1,"TaxIncluded":"No"}])",
            item["ItemTaxClasses"].dump());
}

TEST(WebApiServerTest, PatchPutsHeaderPropertiesInPayloadOrder) {
  WebApiSite site;
  const auto result = site.patch("AR/ARCustomers('1000')",
                                 R"({"TaxGroup":"HST","TaxClassCode1":2,"TaxClassCode2":0})");
  ASSERT_TRUE(result);
  EXPECT_EQ(200, result->status) << result->body;
  EXPECT_EQ("HST", bodyOf(result)["TaxGroup"]);
  EXPECT_EQ("HST 2 0", site.customerTaxes("1000"));
}

TEST(WebApiServerTest, PatchAppliesDetailRowsWithTheHeaderInOneTransaction) {
  WebApiSite site;
  const auto result = site.patch("AR/ARItems('ITEM1')", R"({"ItemTaxClasses":[
      {"TaxAuthority":"PST","UpdateOperation":"Delete"},
      {"TaxAuthority":"hst","TaxClass":1,"TaxIncluded":"Yes","UpdateOperation":"Insert"},
      {"TaxAuthority":"GST","TaxClass":2,"UpdateOperation":"Update"},
      {"TaxAuthority":"PST","TaxClass":3,"UpdateOperation":"Unspecified"}]})");
  ASSERT_TRUE(result);
  EXPECT_EQ(200, result->status) << result->body;
  EXPECT_EQ("GST 2 0; HST 1 1", site.itemRows("ITEM1"));
  EXPECT_EQ(2u, bodyOf(result)["ItemTaxClasses"].size());
}

TEST(WebApiServerTest, RefusedPatchesChangeNothing) {
  WebApiSite site;
  struct Case {
    const char* name;
    std::string resource, body, contentType;
    int status;
    const char* code;
  };
  const std::string insert = R"({"TaxAuthority":"HST","TaxClass":1,"UpdateOperation":"Insert"})";
  for (const Case& c : {
           Case{"class the view refuses after a good row", "AR/ARItems('ITEM1')",
                R"({"ItemTaxClasses":[)" + insert +
                    R"(,{"TaxAuthority":"GST","TaxClass":9,"UpdateOperation":"Update"}]})",
                "application/json", 400, "RecordInvalid"},
           Case{"row that exists", "AR/ARItems('ITEM1')",
                R"({"ItemTaxClasses":[{"TaxAuthority":"GST","UpdateOperation":"Insert"}]})",
                "application/json", 409, "RecordDuplicate"},
           Case{"row that does not exist", "AR/ARItems('ITEM1')",
                R"({"ItemTaxClasses":[{"TaxAuthority":"HST","UpdateOperation":"Delete"}]})",
                "application/json", 404, "RecordNotFound"},
           Case{"row without UpdateOperation", "AR/ARItems('ITEM1')",
                R"({"ItemTaxClasses":[{"TaxAuthority":"GST","TaxClass":2}]})", "application/json",
                400, "InvalidPayload"},
           Case{"unknown property after a good one", "AR/ARItems('ITEM1')",
                R"({"ItemTaxClasses":[)" + insert + R"(],"Colour":"red"})", "application/json", 400,
                "InvalidPayload"},
           Case{"tax group the classes do not fit", "AR/ARCustomers('1000')",
                R"({"TaxGroup":"HST","TaxClassCode1":9})", "application/json", 400,
                "RecordInvalid"},
           Case{"key change", "AR/ARCustomers('1000')", R"({"CustomerNumber":"1001"})",
                "application/json", 400, "InvalidPayload"},
           Case{"wrong JSON type", "AR/ARCustomers('1000')", R"({"TaxClassCode1":"1"})",
                "application/json", 400, "InvalidPayload"},
           Case{"not JSON", "AR/ARCustomers('1000')", "{TaxGroup:", "application/json", 400,
                "InvalidPayload"},
           Case{"wrong content type", "AR/ARCustomers('1000')", R"({"TaxGroup":"HST"})",
                "text/plain", 415, "InvalidPayload"},
           Case{"read-only entity set", "TX/TXTaxGroups(TaxGroup='OLD',TransactionType=1)",
                R"({"Description":"x"})", "application/json", 405, "General"},
       }) {
    SCOPED_TRACE(c.name);
    const auto result =
        site.client().Patch(WebApiSite::path(c.resource).c_str(), c.body, c.contentType.c_str());
    ASSERT_TRUE(result);
    EXPECT_EQ(c.status, result->status) << result->body;
    EXPECT_EQ(c.code, errorCode(result));
    EXPECT_EQ("GST 1 0; PST 1 0", site.itemRows("ITEM1"));
    EXPECT_EQ("OLD 1 1", site.customerTaxes("1000"));
  }
  const auto put = site.client().Put(WebApiSite::path("AR/ARCustomers('1000')").c_str(),
                                     R"({"TaxGroup":"HST"})", "application/json");
  EXPECT_EQ(405, put->status);
}

TEST(WebApiServerTest, HiddenKindHasNoTaxProperties) {
  ServerOptions options;
  options.hidden = {"customers", "ARItems"};
  WebApiSite site(options);
  const std::string metadata = site.get("AR/$metadata")->body;
  auto entityType = [&metadata](const std::string& name) {
    const size_t start = metadata.find("<EntityType Name=\"" + name + "\">");
    return metadata.substr(start, metadata.find("</EntityType>", start) - start);
  };
  EXPECT_EQ(std::string::npos, entityType("Customer").find("Tax"));
  EXPECT_EQ(std::string::npos, entityType("Item").find("ItemTaxClasses"));
  EXPECT_NE(std::string::npos, entityType("ShipToLocation").find("\"TaxGroup\""));
  EXPECT_FALSE(bodyOf(site.get("AR/ARCustomers('1000')")).contains("TaxGroup"));
  const auto patch = site.patch("AR/ARCustomers('1000')", R"({"TaxGroup":"HST"})");
  EXPECT_EQ("InvalidPayload", errorCode(patch));
  EXPECT_EQ("OLD 1 1", site.customerTaxes("1000"));
}

TEST(WebApiServerTest, EveryNthRequestIsTooManyAndTheDelayedServerIsSlow) {
  ServerOptions options;
  options.tooManyRequests = 3;
  options.delayMs = 300;
  WebApiSite site(options);
  std::vector<int> statuses;
  for (int i = 0; i < 3; ++i) statuses.push_back(site.get("AR/ARCustomers('1000')")->status);
  EXPECT_EQ((std::vector<int>{200, 200, 429}), statuses);
  httplib::Client impatient = site.client();
  impatient.set_read_timeout(0, 100000);
  EXPECT_FALSE(impatient.Get(WebApiSite::path("AR/ARCustomers('1000')").c_str()));
}

}  // namespace
}  // namespace erp::webapi::testing

#include "standin/sample/SampleStory.h"
#include "standin/webapi/EntityModel.h"
#include "standin/webapi/tests/WebApiSite.h"

#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace erp::webapi::testing {
namespace {

TEST(WebApiModelTest, EveryKindHasAnEntitySetOverItsViewsWithUniqueNames) {
  const EntityModel model;
  for (const RecordKind& kind : recordKinds()) {
    SCOPED_TRACE(kind.name);
    const EntitySet* found = nullptr;
    for (const EntitySet& set : model.sets()) {
      if (set.kind == kind.name) found = &set;
    }
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(kind.module, found->module);
    EXPECT_EQ(kind.headerView, found->properties.view->id);
    if (*kind.detailView != '\0') {
      ASSERT_EQ(1u, found->details.size());
      EXPECT_EQ(kind.detailView, found->details[0].rows.view->id);
    }
    std::set<std::string> names;
    for (const Property& property : found->properties.properties) {
      EXPECT_TRUE(names.insert(property.name).second) << property.name;
      EXPECT_LE(property.name.size(), 28u);
    }
  }
  EXPECT_THROW(EntityModel({"customer"}), std::invalid_argument);
}

TEST(WebApiModelTest, PublishedNamesWinOverTheRule) {
  const EntityModel model;
  auto name = [&model](const char* module, const char* set, const char* field) {
    const ViewDef& view = *model.find(module, set)->properties.view;
    return model.find(module, set)->properties.ofField(view.field(field)->number)->name;
  };
  EXPECT_EQ("TaxClassCode3", name("AR", "ARCustomers", "TAXSTTS3"));
  EXPECT_EQ("ShipToLocationKey", name("AR", "ARShipToLocations", "IDCUSTSHPT"));
  EXPECT_EQ("TaxIncluded2", name("AP", "APVendors", "SWTXINC2"));
  EXPECT_EQ("TaxGroupCode", name("BK", "BKBanks", "CODETXGRP"));
  EXPECT_EQ("TaxClass1", name("BK", "BKBanks", "TXVCLSS1")) << "by the rule";
  EXPECT_EQ("ContactsEmail", ruleName("Contact's E-mail"));
  EXPECT_EQ("LargestInvoiceLastYearFuncti", ruleName("Largest Invoice Last Year (Functional)"));
}

TEST(WebApiServerTest, ServesHttpsWithTheGivenCertificate) {
  platform::testing::TempFolder folder;
  const std::string command =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost "
      "-addext subjectAltName=IP:127.0.0.1 -keyout " +
      (folder / "key.pem").string() + " -out " + (folder / "cert.pem").string() +
      " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "the openssl command is not installed";
  ServerOptions options;
  options.certificate = folder / "cert.pem";
  options.privateKey = folder / "key.pem";
  WebApiSite site(options);
  httplib::SSLClient client("127.0.0.1", site.port());
  client.set_ca_cert_path((folder / "cert.pem").c_str());
  client.enable_server_certificate_verification(true);
  client.set_basic_auth("ADMIN", "pw");
  const auto result = client.Get(WebApiSite::path("AR/ARCustomers('1000')").c_str());
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ("https", bodyOf(result)["odata.metadata"].get<std::string>().substr(0, 5));
}

}  // namespace
}  // namespace erp::webapi::testing

#include "host/webapi/tests/testsupport/ServedCompany.h"

#include "host/HostError.h"

#include <gtest/gtest.h>

namespace host::webapi {
namespace {

using testing::ServedCompany;

std::vector<std::string> ActiveModules(AccpacConnection& connection) {
  auto link = connection.CompanyDBLinkRW();
  std::vector<std::string> modules;
  for (int i = 0; i < link->ActiveApplicationCount(); ++i)
    modules.push_back(link->ApplicationID(i));
  return modules;
}

TEST(WebApiSignonTest, ARefusedSignonSaysWhyAndOpensNoSession) {
  ServedCompany served;
  auto refused = [&](const std::string& user, const std::string& password,
                     const std::string& company) {
    EXPECT_EQ(nullptr, served.signOn(user, password, company).Session());
    return served.refusals();
  };
  using Texts = std::vector<std::string>;
  EXPECT_EQ(Texts{"Invalid user ID or password."}, refused("ADMIN", "wrong", "SAMLTD"));
  EXPECT_EQ(Texts{"Invalid user ID or password."}, refused("NOBODY", "pw", "SAMLTD"));
  EXPECT_EQ(Texts{"Company NOPE does not exist."}, refused("ADMIN", "pw", "nope"));
}

// CLERK may use Tax Services and A/R only: the other modules are not active for the session.
TEST(WebApiSignonTest, AModuleTheUserMayNotUseIsToldAndTreatedAsInactive) {
  ServedCompany served;
  AccpacConnection& connection = served.signOn("clerk", "pw", "samltd");
  ASSERT_NE(nullptr, connection.Session());
  EXPECT_EQ("CLERK", connection.Session()->UserID());
  EXPECT_EQ("SAMLTD", connection.Session()->CompanyID());
  EXPECT_EQ((std::vector<std::string>{"TX", "AR"}), ActiveModules(connection));
  EXPECT_NE(std::string::npos,
            served.shown().find("Warning: Module AP cannot be used: User CLERK has no Web API "
                                "authorization for AP.\n"))
      << served.shown();
  EXPECT_EQ((served.logRoot() / "SAMLTD").string(), connection.getLogPath());
}

TEST(WebApiSignonTest, AKindWhoseTaxPropertiesTheServerHidesCannotBeRead) {
  erp::webapi::ServerOptions options;
  options.hidden = {"customers"};
  ServedCompany served(options);
  served.signOn();
  const std::string problem =
      "Customers cannot be converted through this server: ARCustomers lacks TaxGroup, "
      "TaxClassCode1, TaxClassCode2, TaxClassCode3, TaxClassCode4, TaxClassCode5, "
      "TaxRegistrationNumber1, TaxRegistrationNumber2, TaxRegistrationNumber3, "
      "TaxRegistrationNumber4 and TaxRegistrationNumber5.";
  EXPECT_EQ("Warning: " + problem + "\n", served.shown());
  auto customers = served.open("AR0024");
  try {
    customers->Count("", 0);
    ADD_FAILURE() << "a hidden kind was read";
  } catch (const HostError& error) {
    EXPECT_EQ(problem, error.Description());
  }
  EXPECT_EQ(0, served.open("AR0025")->Count("", 0)) << "other kinds are read as ever";
}

TEST(WebApiSignonTest, TheServerCheckTellsPerKindWhetherItCanBeConverted) {
  erp::webapi::ServerOptions options;
  options.hidden = {"ARItems"};
  ServedCompany served(options);
  std::ostringstream out;
  EXPECT_EQ(2, CheckServer(served.host(), "CLERK", "SAMLTD", "pw", out));
  const std::string report = out.str();
  for (const char* line :
       {"Module AP: cannot be used: User CLERK has no Web API authorization for AP.\n",
        "Module AR: active\n", "Customers (AR)                    ARCustomers               yes\n",
        "A/R Items (AR)                    ARItems                   no: ARItems lacks "
        "ItemTaxClasses.\n",
        "Vendors (AP)                      APVendors                 no: Module AP of Vendors "
        "cannot be used through the Web API by user CLERK in company SAMLTD.\n"}) {
    EXPECT_NE(std::string::npos, report.find(line)) << line << report;
  }
  std::ostringstream refused;
  EXPECT_EQ(3, CheckServer(served.host(), "CLERK", "SAMLTD", "wrong", refused));
  EXPECT_EQ("Sign-on refused: Invalid user ID or password.\n", refused.str());
}

}  // namespace
}  // namespace host::webapi

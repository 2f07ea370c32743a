#pragma once

#include "standin/site/SiteDatabase.h"
#include "standin/testsupport/SiteTempFolder.h"
#include "standin/testsupport/TestCompany.h"
#include "standin/webapi/WebApiServer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>

namespace erp::webapi::testing {

/// A site with company TST (AR and Tax Services active; tax data of TestCompany::addTaxData,
/// customers 1000 on OLD 1,1, 1010 on OLD 2,2, 1020 on HST 1 and A'1 on OLD 1,1, ship-to
/// locations 1000/MAIN and 1000/WHSE, A/R items ITEM1 and ITEM2 with GST and PST rows of class
/// 1), users ADMIN (Web API for AR and TX), CLERK (none) and OUTSIDER (AR, but not TST), each
/// with password "pw", served on a free loopback port.
class WebApiSite {
 public:
  explicit WebApiSite(ServerOptions options = {});

  SiteDatabase& site() { return site_; }
  int port() const { return server_->port(); }
  erp::testing::TestCompany& company() { return *company_; }
  /// A client signed on as `user` with password "pw".
  httplib::Client client(const std::string& user = "ADMIN") const;
  /// The path of a resource of TST's module, such as "AR/ARCustomers".
  static std::string path(const std::string& resource);
  /// A GET as ADMIN; the body parsed as JSON (null when it is not JSON).
  httplib::Result get(const std::string& resource, const std::string& user = "ADMIN") const;
  /// A PATCH as ADMIN with Content-Type application/json.
  httplib::Result patch(const std::string& resource, const std::string& body) const;
  /// The tax group and class 1 of a customer as stored, "OLD 1".
  std::string customerTaxes(const std::string& customer);
  /// The tax rows of an A/R item as stored, "GST 1 0; PST 1 0".
  std::string itemRows(const std::string& item);

 private:
  TempSite folder_;
  SiteDatabase site_{folder_.layout()};
  std::unique_ptr<erp::testing::TestCompany> company_;
  std::unique_ptr<WebApiServer> server_;
};

/// The JSON of a response body.
nlohmann::json bodyOf(const httplib::Result& result);

}  // namespace erp::webapi::testing

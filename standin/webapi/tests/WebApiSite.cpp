#include "standin/webapi/tests/WebApiSite.h"

#include "standin/database/ValueText.h"

#include <gtest/gtest.h>

namespace erp::webapi::testing {

WebApiSite::WebApiSite(ServerOptions options) {
  site_.addCompany("TST", "Test Company");
  for (const char* app : {"TX", "AR"}) site_.setApplication("TST", {app, app, "66A"});
  for (const char* user : {"ADMIN", "CLERK", "OUTSIDER"}) {
    site_.addUser(user, user, "pw", HashCost::kMinimal);
  }
  site_.grantCompany("ADMIN", "TST");
  site_.grantCompany("CLERK", "TST");
  for (const char* module : {"AR", "TX"}) site_.grantWebApi("ADMIN", module);
  site_.grantWebApi("OUTSIDER", "AR");

  company_ = std::make_unique<erp::testing::TestCompany>(folder_.layout().companyDatabase("TST"));
  company_->addTaxData();
  auto customer = [this](const char* number, const char* group, int class1, int class2) {
    company_->insert("AR0024", {{"IDCUST", number},
                                {"CODETAXGRP", group},
                                {"TAXSTTS1", std::int64_t{class1}},
                                {"TAXSTTS2", std::int64_t{class2}}});
  };
  customer("1000", "OLD", 1, 1);
  customer("1010", "OLD", 2, 2);
  customer("1020", "HST", 1, 0);
  customer("A'1", "OLD", 1, 1);
  for (const char* shipTo : {"MAIN", "WHSE"}) {
    company_->insert("AR0023", {{"IDCUST", "1000"}, {"IDCUSTSHPT", shipTo}, {"CODETAXGRP", "OLD"}});
  }
  for (const char* item : {"ITEM1", "ITEM2"}) {
    company_->insert("AR0010", {{"IDITEM", item}, {"TEXTDESC", std::string(item) + " text"}});
    for (const char* authority : {"GST", "PST"}) {
      company_->insert("AR0011",
                       {{"IDITEM", item}, {"AUTHORITY", authority}, {"TAXSTTS", std::int64_t{1}}});
    }
  }
  options.site = folder_.folder();
  server_ = std::make_unique<WebApiServer>(options);
  server_->start();
}

httplib::Client WebApiSite::client(const std::string& user) const {
  httplib::Client client("127.0.0.1", server_->port());
  client.set_basic_auth(user.c_str(), "pw");
  return client;
}

std::string WebApiSite::path(const std::string& resource) {
  return "/Sage300WebApi/v1.0/-/TST/" + resource;
}

httplib::Result WebApiSite::get(const std::string& resource, const std::string& user) const {
  return client(user).Get(path(resource).c_str());
}

httplib::Result WebApiSite::patch(const std::string& resource, const std::string& body) const {
  return client().Patch(path(resource).c_str(), body, "application/json");
}

std::string WebApiSite::customerTaxes(const std::string& customer) {
  auto source = company_->open("AR0024", true);
  source->put(1, customer, false);
  if (!source->read()) return "missing";
  return source->text(38) + " " + source->text(39) + " " + source->text(40);
}

std::string WebApiSite::itemRows(const std::string& item) {
  auto source = company_->open("AR0011", true);
  source->browse("(IDITEM = \"" + item + "\")");
  std::string rows;
  while (source->fetch()) {
    rows += (rows.empty() ? "" : "; ") + source->text(2) + " " + source->text(3) + " " +
            source->text(4);
  }
  return rows;
}

nlohmann::json bodyOf(const httplib::Result& result) {
  if (!result) return nullptr;
  return nlohmann::json::parse(result->body, nullptr, false);
}

}  // namespace erp::webapi::testing

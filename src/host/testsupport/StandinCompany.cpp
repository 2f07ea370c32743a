#include "host/testsupport/StandinCompany.h"

#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"

#include "standin/site/SiteDatabase.h"

namespace host::testing {

StandinCompany::StandinCompany() {
  erp::SiteLayout layout(folder_);
  erp::SiteDatabase::create(layout);
  {
    erp::SiteDatabase site(layout);
    site.addCompany("SAMLTD", "Sample Company Limited");
    site.addUser("ADMIN", "Administrator", "admin", erp::HashCost::kMinimal);
    site.grantCompany("ADMIN", "SAMLTD");
    for (const char* app : {"TX", "AP", "AR", "IC", "OE", "PO", "BK"}) {
      site.setApplication("SAMLTD", {app, app, "66A"});
    }
  }
  data_ = std::make_unique<erp::testing::TestCompany>(layout.companyDatabase("SAMLTD"));
  data_->addTaxData();

  HostServices services;
  services.newSessionManager = [this] {
    return std::make_unique<standin::StandinSessionManager>(folder_, prompt_);
  };
  services.newErrorDisplay = [this] { return newErrorDisplay(); };
  services.desktopLibrary = std::make_shared<standin::StandinDesktopLibrary>(folder_);
  services.commandLine = [] { return std::string(); };
  connection_ = std::make_unique<AccpacConnection>(std::move(services));
  connection_->Logon("ZX1000", 0);
}

StandinCompany::~StandinCompany() {
  connection_.reset();
  data_.reset();
}

std::unique_ptr<ErrorDisplay> StandinCompany::newErrorDisplay() {
  return std::make_unique<standin::StandinErrorDisplay>(display_);
}

std::vector<std::string> StandinCompany::errorTexts() {
  std::vector<std::string> texts;
  ErrorCollection& errors = session().Errors();
  for (int i = 0; i < errors.Count(); ++i) texts.push_back(errors.Text(i));
  return texts;
}

std::unique_ptr<DataSource> StandinCompany::open(const std::string& viewId, DataSource* parent) {
  auto source = std::make_unique<standin::StandinDataSource>(viewId);
  source->SetDBLink(connection_->CompanyDBLinkRW());
  if (parent) source->SetParent(parent);
  source->SetOpen(true);
  return source;
}

}  // namespace host::testing

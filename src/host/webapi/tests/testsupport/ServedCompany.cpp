#include "host/webapi/tests/testsupport/ServedCompany.h"

#include "standin/site/SiteDatabase.h"

namespace host::webapi::testing {

std::optional<SignonCredentials> ScriptedCredentials::Ask(const std::string& refusal) {
  if (!refusal.empty()) refusals.push_back(refusal);
  if (next_ >= script_.size()) return std::nullopt;
  return script_[next_++];
}

ServedCompany::ServedCompany(erp::webapi::ServerOptions options, std::chrono::seconds readTimeout)
    : readTimeout_(readTimeout) {
  const std::filesystem::path sharedData = temp_.path() / "SharedData";
  std::filesystem::create_directories(sharedData);
  erp::SiteLayout layout(sharedData);
  erp::SiteDatabase::create(layout);
  {
    erp::SiteDatabase site(layout);
    site.addCompany("SAMLTD", "Sample Company Limited");
    for (const char* user : {"ADMIN", "CLERK"}) {
      site.addUser(user, user, "pw", erp::HashCost::kMinimal);
      site.grantCompany(user, "SAMLTD");
    }
    for (const char* app : {"TX", "AP", "AR", "IC", "OE", "PO", "BK"}) {
      site.setApplication("SAMLTD", {app, app, "66A"});
      site.grantWebApi("ADMIN", app);
    }
    site.grantWebApi("CLERK", "TX");
    site.grantWebApi("CLERK", "AR");
  }
  data_ = std::make_unique<erp::testing::TestCompany>(layout.companyDatabase("SAMLTD"));
  data_->addTaxData();
  options.site = sharedData;
  server_ = std::make_unique<erp::webapi::WebApiServer>(options);
  server_->start();
  host_ = std::make_unique<WebApiHost>(settings());
}

ServedCompany::~ServedCompany() {
  connection_.reset();
  server_.reset();
  data_.reset();
}

WebApiSettings ServedCompany::settings() const {
  WebApiSettings settings{ParseWebApiAddress(server_->baseUrl()),
                          {},
                          logRoot_,
                          temp_.path() / "config/webapi-change-files.key"};
  settings.transport.firstWait = std::chrono::milliseconds(1);
  settings.transport.longestWait = std::chrono::milliseconds(5);
  settings.transport.readTimeout = readTimeout_;
  return settings;
}

AccpacConnection& ServedCompany::signOn(const std::string& user, const std::string& password,
                                        const std::string& company, CompanyAccess access) {
  connection_.reset();
  prompt_ = std::make_unique<ScriptedCredentials>(
      std::vector<SignonCredentials>{{user, password, company}});
  connection_ = std::make_unique<AccpacConnection>(host_->Services(*prompt_, view_, access));
  connection_->Logon("ZX1000", 0);
  return *connection_;
}

std::unique_ptr<DataSource> ServedCompany::open(const std::string& viewId, DataSource* parent) {
  if (!connection_) signOn();
  auto source = host_->DataSources().NewDataSource(viewId);
  source->SetDBLink(connection_->CompanyDBLinkRW());
  if (parent) source->SetParent(parent);
  source->SetOpen(true);
  return source;
}

TransportCounts ServedCompany::counts() {
  return dynamic_cast<WebApiSession&>(*connection_->Session())
      .Company()
      .Client()
      .Transport()
      .Counts();
}

std::vector<std::string> ServedCompany::errorTexts() {
  std::vector<std::string> texts;
  ErrorCollection& errors = connection_->Session()->Errors();
  for (int i = 0; i < errors.Count(); ++i) texts.push_back(errors.Text(i));
  return texts;
}

}  // namespace host::webapi::testing

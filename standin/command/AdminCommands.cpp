#include "standin/command/Commands.h"

#include "standin/site/SiteDatabase.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <stdexcept>

namespace erp {
namespace {

SiteDatabase openSite(const std::string& folder) {
  return SiteDatabase(SiteLayout(folder));
}

CLI::Option* addFolder(CLI::App* command, std::string& folder) {
  return command->add_option("DIR", folder, "Shared-data folder of the site")->required();
}

struct SiteSetOptions {
  std::string folder;
  std::string orgId;
  std::optional<std::string> clientId;
  std::optional<std::string> clientName;
  std::optional<std::string> dealer;
  std::optional<std::string> consultant;
  std::optional<std::string> contact;
};

void setSiteRecord(const SiteSetOptions& options) {
  SiteDatabase site = openSite(options.folder);
  SiteRecord record = site.siteRecord(options.orgId).value_or(SiteRecord{});
  record.orgId = options.orgId;
  if (options.clientId) record.clientId = *options.clientId;
  if (options.clientName) record.clientName = *options.clientName;
  if (options.dealer) record.dealer = *options.dealer;
  if (options.consultant) record.consultant = *options.consultant;
  if (options.contact) record.contact = *options.contact;
  site.setSiteRecord(record);
}

struct CompanyOptions {
  std::string folder;
  std::string orgId;
  std::string name;
};

struct UserOptions {
  std::string folder;
  std::string userId;
  std::string name;
  std::vector<std::string> companies;
  std::vector<std::string> webApiModules;
};

void addUser(const UserOptions& options) {
  SiteDatabase site = openSite(options.folder);
  // Check everything before the user is stored, so that a typo leaves no half-made user.
  const std::string userId = canonicalUserId(options.userId);
  if (site.user(userId)) throw std::invalid_argument("User " + userId + " already exists.");
  for (const std::string& orgId : options.companies) {
    if (!site.company(orgId)) throw std::invalid_argument("There is no company " + orgId + ".");
  }
  const std::string password = readPassword("Password for " + userId + ": ");
  if (password.empty()) throw std::invalid_argument("The password must not be empty.");
  site.addUser(userId, options.name.empty() ? userId : options.name, password);
  for (const std::string& orgId : options.companies) site.grantCompany(userId, orgId);
}

struct AppOptions {
  std::string folder;
  std::string orgId;
  std::string applicationId;
  std::string secondId;
  std::string version = "66A";
};

}  // namespace

void addSiteCommand(CLI::App& app) {
  CLI::App* site = app.add_subcommand("site", "Creates a site or sets its configuration record.");
  site->require_subcommand(1);

  auto initFolder = std::make_shared<std::string>();
  CLI::App* init =
      site->add_subcommand("init", "Creates the site folders and an empty site database.");
  addFolder(init, *initFolder);
  init->callback([initFolder] { SiteDatabase::create(SiteLayout(*initFolder)); });

  auto options = std::make_shared<SiteSetOptions>();
  CLI::App* set = site->add_subcommand(
      "set", "Sets fields of the configuration record of the site or of one company.");
  addFolder(set, options->folder);
  set->add_option("--org", options->orgId, "Org ID of the company (default: the site itself)");
  set->add_option("--client-id", options->clientId, "Client ID (up to 60 characters)");
  set->add_option("--client-name", options->clientName, "Client name (up to 60 characters)");
  set->add_option("--dealer", options->dealer, "Dealer (up to 35 characters)");
  set->add_option("--consultant", options->consultant, "Consultant (up to 35 characters)");
  set->add_option("--contact", options->contact, "Contact (up to 35 characters)");
  set->callback([options] { setSiteRecord(*options); });
}

void addCompanyCommand(CLI::App& app) {
  CLI::App* company = app.add_subcommand("company", "Manages the companies of a site.");
  company->require_subcommand(1);

  auto options = std::make_shared<CompanyOptions>();
  CLI::App* add =
      company->add_subcommand("add", "Registers a company and creates its empty database.");
  addFolder(add, options->folder);
  add->add_option("ORG", options->orgId, "Org ID (up to 6 letters or digits)")->required();
  add->add_option("--name", options->name, "Company name");
  add->callback([options] {
    const CompanyOptions& o = *options;
    openSite(o.folder).addCompany(o.orgId, o.name.empty() ? canonicalOrgId(o.orgId) : o.name);
  });
}

void addUserCommand(CLI::App& app) {
  CLI::App* user = app.add_subcommand("user", "Manages the users of a site.");
  user->require_subcommand(1);

  auto added = std::make_shared<UserOptions>();
  CLI::App* add = user->add_subcommand(
      "add", "Adds a user; the password comes from ORDAVEL_PASSWORD or is asked.");
  addFolder(add, added->folder);
  add->add_option("USER", added->userId, "User ID (up to 8 letters or digits)")->required();
  add->add_option("--name", added->name, "Display name");
  add->add_option("--company", added->companies, "Companies the user may sign on to")->required();
  add->callback([added] { addUser(*added); });

  auto granted = std::make_shared<UserOptions>();
  CLI::App* grant = user->add_subcommand(
      "grant", "Lets a user sign on to more companies or reach modules through the Web API.");
  addFolder(grant, granted->folder);
  grant->add_option("USER", granted->userId, "User ID")->required();
  grant->add_option("--company", granted->companies, "Companies to allow");
  grant->add_option("--web-api", granted->webApiModules,
                    "Modules (such as AR) to allow through the Web API");
  grant->callback([granted] {
    if (granted->companies.empty() && granted->webApiModules.empty()) {
      throw CLI::RequiredError("--company or --web-api");
    }
    SiteDatabase site = openSite(granted->folder);
    for (const std::string& module : granted->webApiModules) canonicalModule(module);
    for (const std::string& orgId : granted->companies) {
      if (!site.company(orgId)) throw std::invalid_argument("There is no company " + orgId + ".");
    }
    for (const std::string& orgId : granted->companies) site.grantCompany(granted->userId, orgId);
    for (const std::string& module : granted->webApiModules) {
      site.grantWebApi(granted->userId, module);
    }
  });

  auto revoked = std::make_shared<UserOptions>();
  CLI::App* revoke =
      user->add_subcommand("revoke", "Takes a user's Web API authorization for modules back.");
  addFolder(revoke, revoked->folder);
  revoke->add_option("USER", revoked->userId, "User ID")->required();
  revoke->add_option("--web-api", revoked->webApiModules, "Modules (such as AR) to take back")
      ->required();
  revoke->callback([revoked] {
    SiteDatabase site = openSite(revoked->folder);
    for (const std::string& module : revoked->webApiModules) {
      if (!site.mayUseWebApi(revoked->userId, module)) {
        throw std::invalid_argument("User " + canonicalUserId(revoked->userId) +
                                    " has no Web API authorization for " + canonicalModule(module) +
                                    ".");
      }
    }
    for (const std::string& module : revoked->webApiModules) {
      site.revokeWebApi(revoked->userId, module);
    }
  });

  auto removed = std::make_shared<UserOptions>();
  CLI::App* remove = user->add_subcommand("remove", "Removes a user and their desktop sessions.");
  addFolder(remove, removed->folder);
  remove->add_option("USER", removed->userId, "User ID")->required();
  remove->callback([removed] { openSite(removed->folder).removeUser(removed->userId); });
}

void addAppCommand(CLI::App& app) {
  CLI::App* application =
      app.add_subcommand("app", "Manages the active applications of a company.");
  application->require_subcommand(1);

  auto setOptions = std::make_shared<AppOptions>();
  CLI::App* set =
      application->add_subcommand("set", "Activates an application or changes its version.");
  addFolder(set, setOptions->folder);
  set->add_option("ORG", setOptions->orgId, "Org ID of the company")->required();
  set->add_option("APP", setOptions->applicationId, "Application ID, such as AR")->required();
  set->add_option("--id2", setOptions->secondId, "Second identifier (default: the application ID)");
  set->add_option("--version", setOptions->version, "Version, such as 66A")->capture_default_str();
  set->callback([setOptions] {
    const AppOptions& o = *setOptions;
    openSite(o.folder).setApplication(
        o.orgId, {o.applicationId, o.secondId.empty() ? o.applicationId : o.secondId, o.version});
  });

  auto removeOptions = std::make_shared<AppOptions>();
  CLI::App* remove = application->add_subcommand("remove", "Deactivates an application.");
  addFolder(remove, removeOptions->folder);
  remove->add_option("ORG", removeOptions->orgId, "Org ID of the company")->required();
  remove->add_option("APP", removeOptions->applicationId, "Application ID")->required();
  remove->add_option("--id2", removeOptions->secondId,
                     "Second identifier (default: the application ID)");
  remove->callback([removeOptions] {
    const AppOptions& o = *removeOptions;
    openSite(o.folder).removeApplication(o.orgId, o.applicationId,
                                         o.secondId.empty() ? o.applicationId : o.secondId);
  });

  auto listOptions = std::make_shared<AppOptions>();
  CLI::App* list = application->add_subcommand("list", "Lists the active applications.");
  addFolder(list, listOptions->folder);
  list->add_option("ORG", listOptions->orgId, "Org ID of the company")->required();
  list->callback([listOptions] {
    for (const ActiveApplication& entry :
         openSite(listOptions->folder).applications(listOptions->orgId)) {
      std::cout << entry.applicationId << ' ' << entry.secondId << ' ' << entry.version << '\n';
    }
  });
}

}  // namespace erp

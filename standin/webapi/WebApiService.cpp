#include "standin/webapi/WebApiService.h"

#include "platform/Text.h"
#include "standin/database/ErpError.h"
#include "standin/webapi/EntityViews.h"
#include "standin/webapi/Metadata.h"
#include "standin/webapi/ReadRequests.h"
#include "standin/webapi/RecordPatch.h"
#include "standin/webapi/ResourcePath.h"
#include "standin/webapi/WebApiError.h"

#include <algorithm>

namespace erp::webapi {
namespace {

constexpr const char* kJson = "application/json; charset=utf-8";

Response jsonResponse(int status, const Json& body) {
  return {status, kJson, body.dump(), {}};
}

Response errorResponse(const WebApiError& error) {
  Response response{error.status(), kJson, errorPayload(error.code(), error.what()), {}};
  if (error.status() == 401) {
    response.headers.emplace_back("WWW-Authenticate", "Basic realm=\"Sage300WebApi\"");
  }
  if (error.status() == 405) response.headers.emplace_back("Allow", "GET, PATCH");
  return response;
}

/// Whether a Content-Type names JSON; its parameters (charset) do not matter.
bool isJson(const std::string& contentType) {
  const std::string media = platform::Trim(contentType.substr(0, contentType.find(';')));
  return platform::EqualsIgnoreCase(media, "application/json");
}

void checkContentType(const Request& request) {
  const bool needed = request.method == "PATCH";
  if ((needed || !request.contentType.empty()) && !isJson(request.contentType)) {
    throw WebApiError(415, "InvalidPayload",
                      "Requests must be sent with Content-Type: application/json, not \"" +
                          request.contentType + "\".");
  }
}

WebApiError methodRefused(const std::string& method) {
  if (method == "PUT") {
    return WebApiError(405, "General",
                       "PUT is not supported: it would delete every detail row missing from the "
                       "payload. Send PATCH with only the properties to change.");
  }
  return WebApiError(405, "General",
                     method +
                         " is not supported; records are read with GET and "
                         "changed with PATCH.");
}

Json parseBody(const std::string& body) {
  try {
    return Json::parse(body);
  } catch (const Json::parse_error& error) {
    throw invalidPayload(std::string("The body is not valid JSON: ") + error.what());
  }
}

}  // namespace

std::string errorPayload(const std::string& code, const std::string& message) {
  return Json{{"error", {{"code", code}, {"message", {{"lang", "en-US"}, {"value", message}}}}}}
      .dump();
}

WebApiService::WebApiService(const std::filesystem::path& sharedData, EntityModel model,
                             int pageSize)
    : site_(SiteLayout(sharedData), SiteAccess::ReadOnly),
      credentials_(site_),
      model_(std::move(model)),
      pageSize_(pageSize) {}

Response WebApiService::handle(const Request& request) {
  std::lock_guard lock(mutex_);
  try {
    return dispatch(request);
  } catch (const WebApiError& error) {
    return errorResponse(error);
  } catch (const std::exception& error) {
    return errorResponse(WebApiError(500, "General", error.what()));
  }
}

std::shared_ptr<CompanyDatabase> WebApiService::company(const std::string& userId,
                                                        const std::string& orgId) {
  const std::optional<CompanyEntry> entry = site_.company(orgId);
  if (!entry) throw WebApiError(404, "SessionError", "Company " + orgId + " does not exist.");
  if (!site_.mayUseCompany(userId, entry->orgId)) {
    throw WebApiError(403, "Forbidden",
                      "User " + userId + " may not sign on to company " + entry->orgId + ".");
  }
  std::shared_ptr<CompanyDatabase>& database = companies_[entry->orgId];
  if (!database) {
    const std::filesystem::path file = site_.layout().sharedData() / entry->databaseFile;
    if (!std::filesystem::exists(file)) {
      throw WebApiError(500, "DBLinkError",
                        "The database of company " + entry->orgId + " is missing.");
    }
    database = std::make_shared<CompanyDatabase>(file);
  }
  return database;
}

void WebApiService::requireModule(const std::string& userId, const std::string& orgId,
                                  const std::string& module) {
  const std::vector<ActiveApplication> applications = site_.applications(orgId);
  const bool active = std::any_of(applications.begin(), applications.end(),
                                  [&](const auto& app) { return app.applicationId == module; });
  if (!active || model_.ofModule(module).empty()) {
    throw WebApiError(404, "InvalidParameters",
                      "Module " + module + " is not active for company " + orgId + ".");
  }
  if (!site_.mayUseWebApi(userId, module)) {
    throw WebApiError(403, "Forbidden",
                      "User " + userId + " has no Web API authorization for " + module + ".");
  }
}

Response WebApiService::dispatch(const Request& request) {
  const ResourcePath path = parsePath(request.path);
  const std::string userId = credentials_.authenticate(request.authorization);
  ModuleContext context{company(userId, path.company), {}};
  const std::string orgId = platform::UpperCase(path.company);
  requireModule(userId, orgId, path.module);
  checkContentType(request);
  context.moduleUrl = request.origin + std::string(kRootPath) + orgId + "/" + path.module + "/";

  const bool get = request.method == "GET";
  if (path.resource.empty() || path.resource == "$metadata") {
    if (!get) throw methodRefused(request.method);
    if (path.key) throw WebApiError(404, "InvalidParameters", "There is no resource there.");
    if (path.resource.empty())
      return jsonResponse(200, serviceDocument(model_, path.module, context.moduleUrl));
    return {200, "application/xml", metadataDocument(model_, path.module), {}};
  }
  const EntitySet* set = model_.find(path.module, path.resource);
  if (!set) {
    throw WebApiError(404, "InvalidParameters",
                      "Module " + path.module + " has no entity set " + path.resource + ".");
  }
  const QueryOptions options = parseQueryOptions(request.query);
  if (get) {
    return jsonResponse(200, path.key ? entity(*set, context, *path.key, options)
                                      : feed(*set, context, options, pageSize_));
  }
  if (request.method != "PATCH") throw methodRefused(request.method);
  if (set->readOnly) throw WebApiError(405, "General", set->name + " is read-only.");
  if (!path.key) throw invalidEntityKey("PATCH changes one record: give its key.");
  const std::vector<Value> key = parseKey(set->properties, set->name, *path.key);
  const Json body = parseBody(request.body);
  ErrorList errors;
  EntityViews views(*set, context.database, errors, false);
  applyPatch(views, key, body);
  const std::string keyText = views.keyText();
  return jsonResponse(200, entity(*set, context, keyText.substr(1, keyText.size() - 2), {}));
}

}  // namespace erp::webapi

#pragma once

#include "standin/database/CompanyDatabase.h"
#include "standin/site/SiteDatabase.h"
#include "standin/webapi/Credentials.h"
#include "standin/webapi/EntityModel.h"
#include "standin/webapi/QueryOptions.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace erp::webapi {

/// A request as the service needs it, whatever carried it.
struct Request {
  std::string method;  ///< "GET", "PATCH", ...
  std::string path;    ///< decoded
  QueryParameters query;
  std::string authorization;  ///< the Authorization header, "" when absent
  std::string contentType;    ///< the Content-Type header, "" when absent
  std::string origin;         ///< "http://127.0.0.1:8080": the start of the links it returns
  std::string body;
};

/// The answer to a request.
struct Response {
  int status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

/// The stand-in ERP's Web API over the companies of one site: it authenticates each request,
/// checks the user's access to the company and Web API authorization for the module, and
/// answers GET (feeds, single records, `$metadata`, the module's service document) and PATCH
/// through the stand-in's views. PUT, POST and DELETE are refused (405): PUT would delete the
/// detail rows a payload leaves out, and the program never creates or deletes records. There
/// are no ETags and no transactions across requests. Requests are served one at a time.
class WebApiService {
 public:
  /// A service over the site whose shared-data folder is `sharedData`, with feeds of at most
  /// `pageSize` records per response.
  WebApiService(const std::filesystem::path& sharedData, EntityModel model, int pageSize);

  /// The answer to `request`; every refusal is an error payload, never an exception.
  Response handle(const Request& request);

 private:
  Response dispatch(const Request& request);
  std::shared_ptr<CompanyDatabase> company(const std::string& userId, const std::string& orgId);
  void requireModule(const std::string& userId, const std::string& orgId,
                     const std::string& module);

  std::mutex mutex_;
  SiteDatabase site_;
  Credentials credentials_;
  EntityModel model_;
  int pageSize_;
  std::map<std::string, std::shared_ptr<CompanyDatabase>> companies_;
};

}  // namespace erp::webapi

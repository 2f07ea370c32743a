#pragma once

#include "host/webapi/WebApiTransport.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace host::webapi {

/// The query options of a feed.
struct FeedQuery {
  std::string filter{};               ///< `$filter`, empty for every record
  std::vector<std::string> select{};  ///< `$select`, empty for every property
  std::optional<long long> top{};
  long long skip = 0;
  bool count = false;
};

/// The company's resources on one server: `{base}{COMPANY}/{MODULE}/{Resource}`. Every error
/// answer raises WebApiFailure with the ERP's code and message.
class ODataClient {
 public:
  ODataClient(WebApiTransport& transport, std::string company);

  const std::string& Company() const { return company_; }
  WebApiTransport& Transport() const { return transport_; }

  /// One resource as JSON: a record by key (`ARCustomers('1200')`) or a page of a feed.
  nlohmann::json Get(const std::string& module, const std::string& resource,
                     const FeedQuery& query = {});
  /// The module's `$metadata` document.
  std::string Metadata(const std::string& module);
  /// Sends every record of a feed, page by page, to `record` in the order the server gives
  /// them; pages are asked with `$skip` until one comes back empty. `record` says whether it was
  /// new to it: a page of nothing new means the server does not page, which raises
  /// WebApiFailure rather than asking for ever.
  void Collect(const std::string& module, const std::string& entitySet, const FeedQuery& query,
               const std::function<bool(const nlohmann::json& record)>& record);
  /// Changes one record with PATCH: only the properties of `body`, in their order.
  void Patch(const std::string& module, const std::string& resource,
             const nlohmann::ordered_json& body);

  /// The request target of a resource with its query options.
  std::string Target(const std::string& module, const std::string& resource,
                     const FeedQuery& query = {}) const;

 private:
  HttpResponse Checked(const HttpRequest& request, bool rereadable);

  WebApiTransport& transport_;
  std::string company_;
};

/// The records of a feed: its "value" list, or the "d" form of older servers; nullptr when the
/// answer holds no list.
const nlohmann::json* FeedRecords(const nlohmann::json& feed);

/// A single record as answered, unwrapped from the "d" form of older servers.
const nlohmann::json& EntityOf(const nlohmann::json& answer);

/// `text` percent-encoded for a URL, keeping letters, digits and `keep`.
std::string PercentEncoded(const std::string& text, const std::string& keep = "-._~");

}  // namespace host::webapi

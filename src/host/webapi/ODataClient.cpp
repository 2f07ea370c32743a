#include "host/webapi/ODataClient.h"

#include "host/webapi/WebApiFailure.h"

#include <cctype>
#include <cstdio>

namespace host::webapi {
namespace {

// Characters a path segment keeps as they are: a key such as ('1200') or (A='x',B=3) reads as
// the server expects it.
constexpr const char* kPathKeeps = "-._~'(),=$";

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ",") + name;
  return text;
}

std::string QueryText(const FeedQuery& query) {
  std::string text;
  auto add = [&text](const std::string& option) { text += (text.empty() ? "?" : "&") + option; };
  if (!query.filter.empty()) add("$filter=" + PercentEncoded(query.filter));
  if (!query.select.empty()) add("$select=" + PercentEncoded(Joined(query.select), "-._~,"));
  if (query.top) add("$top=" + std::to_string(*query.top));
  if (query.skip != 0) add("$skip=" + std::to_string(query.skip));
  if (query.count) add("$count=true");
  return text;
}

nlohmann::json ParsedBody(const HttpResponse& response) {
  nlohmann::json body = nlohmann::json::parse(response.body, nullptr, false);
  if (body.is_discarded()) {
    throw WebApiFailure(WebApiFailure::Kind::Answered, response.status, "",
                        "The Web API server answered with something other than JSON.");
  }
  return body;
}

}  // namespace

const nlohmann::json* FeedRecords(const nlohmann::json& feed) {
  if (!feed.is_object()) return nullptr;
  if (auto values = feed.find("value"); values != feed.end() && values->is_array()) return &*values;
  if (auto d = feed.find("d"); d != feed.end()) {
    if (d->is_array()) return &*d;
    if (auto results = d->find("results"); results != d->end() && results->is_array()) {
      return &*results;
    }
  }
  return nullptr;
}

const nlohmann::json& EntityOf(const nlohmann::json& answer) {
  if (auto d = answer.find("d"); d != answer.end() && d->is_object()) return *d;
  return answer;
}

std::string PercentEncoded(const std::string& text, const std::string& keep) {
  std::string result;
  for (unsigned char c : text) {
    if (std::isalnum(c) != 0 || keep.find(static_cast<char>(c)) != std::string::npos) {
      result += static_cast<char>(c);
    } else {
      char buffer[4];
      std::snprintf(buffer, sizeof buffer, "%%%02X", c);
      result += buffer;
    }
  }
  return result;
}

ODataClient::ODataClient(WebApiTransport& transport, std::string company)
    : transport_(transport), company_(std::move(company)) {}

std::string ODataClient::Target(const std::string& module, const std::string& resource,
                                const FeedQuery& query) const {
  return transport_.Address().path + PercentEncoded(company_) + "/" + module + "/" +
         PercentEncoded(resource, kPathKeeps) + QueryText(query);
}

HttpResponse ODataClient::Checked(const HttpRequest& request, bool rereadable) {
  HttpResponse response = transport_.Send(request, rereadable);
  if (response.status < 200 || response.status > 299) {
    throw AnsweredFailure(response.status, response.body);
  }
  return response;
}

nlohmann::json ODataClient::Get(const std::string& module, const std::string& resource,
                                const FeedQuery& query) {
  return ParsedBody(Checked({"GET", Target(module, resource, query)}, true));
}

std::string ODataClient::Metadata(const std::string& module) {
  return Checked({"GET", Target(module, "$metadata"), {}, "application/xml"}, true).body;
}

void ODataClient::Collect(const std::string& module, const std::string& entitySet,
                          const FeedQuery& query,
                          const std::function<bool(const nlohmann::json& record)>& record) {
  FeedQuery page = query;
  while (true) {
    const nlohmann::json feed = Get(module, entitySet, page);
    const nlohmann::json* values = FeedRecords(feed);
    if (!values) {
      throw WebApiFailure(WebApiFailure::Kind::Answered, 200, "",
                          "The Web API server answered " + entitySet + " without a list.");
    }
    if (values->empty()) return;
    bool anyNew = false;
    for (const nlohmann::json& value : *values) anyNew = record(value) || anyNew;
    if (!anyNew) {
      throw WebApiFailure(WebApiFailure::Kind::Answered, 200, "",
                          "The Web API server gave the same records of " + entitySet +
                              " again for $skip=" + std::to_string(page.skip) +
                              ", so its feed cannot be read to the end.");
    }
    page.skip += static_cast<long long>(values->size());
    if (page.top) {
      *page.top -= static_cast<long long>(values->size());
      if (*page.top <= 0) return;
    }
  }
}

void ODataClient::Patch(const std::string& module, const std::string& resource,
                        const nlohmann::ordered_json& body) {
  Checked({"PATCH", Target(module, resource), body.dump()}, false);
}

}  // namespace host::webapi

#include "host/webapi/WebApiFailure.h"

#include <nlohmann/json.hpp>

namespace host::webapi {
namespace {

std::string MessageOf(const nlohmann::json& message) {
  if (message.is_string()) return message.get<std::string>();
  if (message.is_object()) {
    const auto value = message.find("value");
    if (value != message.end() && value->is_string()) return value->get<std::string>();
  }
  return {};
}

}  // namespace

WebApiFailure AnsweredFailure(int status, const std::string& body) {
  std::string code;
  std::string message;
  const nlohmann::json payload = nlohmann::json::parse(body, nullptr, false);
  if (payload.is_object()) {
    auto error = payload.find("error");
    if (error == payload.end()) error = payload.find("odata.error");
    if (error != payload.end() && error->is_object()) {
      if (auto found = error->find("code"); found != error->end() && found->is_string()) {
        code = found->get<std::string>();
      }
      if (auto found = error->find("message"); found != error->end()) message = MessageOf(*found);
    }
  }
  if (message.empty()) {
    message = "The Web API server answered HTTP " + std::to_string(status) +
              (code.empty() ? std::string(".") : " " + code + ".");
  }
  return WebApiFailure(WebApiFailure::Kind::Answered, status, std::move(code), message);
}

}  // namespace host::webapi

#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace host {

/// An error raised across the ERP boundary or by the program's host classes, with the error
/// number and source the caller may report.
class HostError : public std::runtime_error {
 public:
  HostError(std::int32_t number, const std::string& description, std::string source = {})
      : std::runtime_error(description), number_(number), source_(std::move(source)) {}

  std::int32_t Number() const { return number_; }
  const std::string& Source() const { return source_; }
  std::string Description() const { return what(); }

  /// The general failure of a host call.
  static constexpr std::int32_t kGeneralFailure = static_cast<std::int32_t>(0x80004005u);

 private:
  std::int32_t number_;
  std::string source_;
};

}  // namespace host

#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace util {

/// An error raised to the caller with a number, a source and a description, as the program's
/// classes report failures that the caller is expected to handle.
class Error : public std::runtime_error {
 public:
  Error(long number, std::string source, const std::string& description)
      : std::runtime_error(description), number_(number), source_(std::move(source)) {}

  /// The error number, for example 26001 for registry failures.
  long number() const { return number_; }
  /// Where the error was raised: the program name followed by the class name.
  const std::string& source() const { return source_; }
  /// The message text.
  std::string description() const { return what(); }

 private:
  long number_;
  std::string source_;
};

}  // namespace util

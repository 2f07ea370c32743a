#pragma once

#include <string>
#include <vector>

namespace erp {

/// Priorities of the messages in a session's error list.
enum Priority : int { kMessage = 1, kWarning = 2, kError = 3, kSecurity = 4 };

struct ErrorEntry {
  int priority = kError;
  std::string text;
  std::string source;
  std::string help;
};

/// The list of errors and messages that the ERP collects for one session.
class ErrorList {
 public:
  void add(int priority, std::string text, std::string source = {}, std::string help = {});
  size_t count() const { return entries_.size(); }
  const ErrorEntry& at(size_t index) const { return entries_.at(index); }
  const std::vector<ErrorEntry>& entries() const { return entries_; }
  void clear() { entries_.clear(); }

 private:
  std::vector<ErrorEntry> entries_;
};

}  // namespace erp

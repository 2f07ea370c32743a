#pragma once

#include <map>
#include <string>

namespace erp {

/// Texts that one session keeps under keys, for handing results between its programs.
class ValueStore {
 public:
  /// The most characters that `read` gives back.
  static constexpr size_t kReadLimit = 255;

  /// Stores `value` under `key`, replacing what was there.
  void set(const std::string& key, std::string value);
  /// Removes the value under `key`, if any.
  void remove(const std::string& key);
  /// Whether a value is stored under `key`.
  bool contains(const std::string& key) const;
  /// The value under `key` cut to at most 255 characters; empty when nothing is stored.
  std::string read(const std::string& key) const;

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace erp

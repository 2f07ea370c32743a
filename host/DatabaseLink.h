#pragma once

#include "host/Variant.h"

#include <string>
#include <vector>

namespace host {

/// A session's database link: the company's (type 1) or the system's (type 0).
class DatabaseLink {
 public:
  virtual ~DatabaseLink() = default;

  virtual void Close() = 0;
  /// Number of applications active for the company.
  virtual int ActiveApplicationCount() const = 0;
  /// Application ID of the active application at `index` (from 0).
  virtual std::string ApplicationID(int index) const = 0;
  /// Second identifying text of the active application at `index` (from 0).
  virtual std::string ApplicationSecondID(int index) const = 0;
  /// Values of `fieldNumbers` of the options view `viewId`.
  virtual std::vector<Variant> ReadOptionValues(const std::string& viewId,
                                                const std::vector<int>& fieldNumbers) const = 0;
};

}  // namespace host

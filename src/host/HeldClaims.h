#pragma once

#include "host/KindClaim.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace host {

/// The kinds one process has claimed for runs that follow each other, such as the jobs of one
/// call that are all claimed before the first converts. A process cannot lock a claim file twice,
/// so a run that asks for a kind claimed here is handed the claim already held.
class HeldClaims {
 public:
  /// The claim on `logName` in `logFolder`: the one held here when it is still proven, else a
  /// new claim, which is kept when it is held.
  std::shared_ptr<KindClaim> Claim(const std::string& logFolder, const std::string& logName,
                                   const std::string& user,
                                   std::chrono::system_clock::time_point now);

 private:
  std::map<std::filesystem::path, std::shared_ptr<KindClaim>> held_;
};

}  // namespace host

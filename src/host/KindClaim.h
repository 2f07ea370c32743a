#pragma once

#include "platform/FileDescriptor.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace host {

/// A run's claim on converting one kind of record of one company. Two runs converting the same
/// records at once would refuse each other's updates record by record, so the second one is
/// turned away before it starts. The claim is a lock on a file in the company's log folder that
/// the system drops with the process, so a crashed or killed run never blocks the next one.
class KindClaim {
 public:
  /// Who holds a claim another run asked for.
  struct Holder {
    std::string user;
    std::string started;  ///< local time, "YYYY-MM-DD HH:MM:SS"
  };

  /// Claims `logName` in `logFolder` for `user`; the folder itself is created when missing, not
  /// its parents. Holds nothing when another run holds it (see OtherHolder) or when the claim
  /// file cannot be used (a folder that cannot be written, a planted link).
  KindClaim(const std::string& logFolder, const std::string& logName, const std::string& user,
            std::chrono::system_clock::time_point now);
  KindClaim(const KindClaim&) = delete;
  KindClaim& operator=(const KindClaim&) = delete;

  /// Whether this run holds the claim.
  bool Held() const { return file_.Valid(); }
  /// The run that holds the claim instead, when another one does.
  const std::optional<Holder>& OtherHolder() const { return other_; }

 private:
  platform::FileDescriptor file_;
  std::optional<Holder> other_;
};

}  // namespace host

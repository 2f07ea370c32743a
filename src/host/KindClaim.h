#pragma once

#include "platform/FileDescriptor.h"

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace host {

/// A run's claim on converting one kind of record of one company. Two runs converting the same
/// records at once would refuse each other's updates record by record and mix their lines in the
/// kind's log, so the second one is turned away before it starts. The claim is a lock on a hidden
/// file in the company's log folder that the system drops with the process, so a crashed or
/// killed run never blocks the next one. A lock only guards the file it was taken on: a run
/// proves its claim by checking that the folder still names that file, when it claims and
/// before it commits, since a file deleted or replaced underneath it lets another run claim the
/// kind afresh.
class KindClaim {
 public:
  /// Who holds a claim another run asked for.
  struct Holder {
    std::string user;
    std::string started;  ///< local time, "YYYY-MM-DD HH:MM:SS"
  };

  /// Claims `logName` in `logFolder` for `user`; the folder itself is created when missing, not
  /// its parents. Holds nothing when another run holds it (see OtherHolder) or when the claim
  /// cannot be made or proven (see Problem).
  KindClaim(const std::string& logFolder, const std::string& logName, const std::string& user,
            std::chrono::system_clock::time_point now);
  KindClaim(const KindClaim&) = delete;
  KindClaim& operator=(const KindClaim&) = delete;

  /// Whether this run holds the claim.
  bool Held() const { return lock_.Valid(); }
  /// The run that holds the claim instead, when another one does.
  const std::optional<Holder>& OtherHolder() const { return other_; }
  /// Why the claim could not be made when nobody holds it, such as a folder that cannot be
  /// written or something else planted where the claim file belongs; empty otherwise.
  const std::string& Problem() const { return problem_; }
  /// Whether the claim is held and its file is still the one locked: false once the file has
  /// been deleted or replaced, after which another run may claim the kind too.
  bool StillHeld() const;
  /// The claim file.
  const std::filesystem::path& File() const { return path_; }

 private:
  /// One attempt: true when it settled the claim (held, held by another run, or refused).
  bool TryClaim(const std::string& user, std::chrono::system_clock::time_point now);
  void Refuse(const std::string& why);

  std::filesystem::path path_;
  platform::FileDescriptor lock_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  std::optional<Holder> other_;
  std::string problem_;
};

}  // namespace host

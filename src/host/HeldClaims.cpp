#include "host/HeldClaims.h"

#include "util/ResolvePathCase.h"

namespace host {

std::shared_ptr<KindClaim> HeldClaims::Claim(const std::string& logFolder,
                                             const std::string& logName, const std::string& user,
                                             std::chrono::system_clock::time_point now) {
  // Jobs may spell one company's folder differently; the file they lock is the same.
  const std::filesystem::path resolved = util::ResolvePathCase(logFolder);
  std::error_code error;
  std::filesystem::path folder = std::filesystem::weakly_canonical(resolved, error);
  if (error) folder = resolved;
  const std::filesystem::path key = folder / logName;
  const auto found = held_.find(key);
  if (found != held_.end() && found->second->StillHeld()) return found->second;
  if (found != held_.end()) held_.erase(found);
  auto claim = std::make_shared<KindClaim>(logFolder, logName, user, now);
  if (claim->Held()) held_[key] = claim;
  return claim;
}

}  // namespace host

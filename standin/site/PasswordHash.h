#pragma once

#include <string>

namespace erp {

/// How much time and memory hashing a password costs; verifying costs the same.
enum class HashCost {
  kInteractive,  ///< the sign-on's cost, which makes guessing expensive
  kMinimal,      ///< for test sites only: cheap to compute and so cheap to guess
};

/// A salted, memory-hard hash of `password` in libsodium's self-describing text form.
std::string hashPassword(const std::string& password, HashCost cost = HashCost::kInteractive);

/// Whether `password` matches a hash made by hashPassword; a malformed hash never matches.
bool verifyPassword(const std::string& hash, const std::string& password);

}  // namespace erp

#pragma once

#include <string>

namespace erp {

/// A salted, memory-hard hash of `password` in libsodium's self-describing text form.
std::string hashPassword(const std::string& password);

/// Whether `password` matches a hash made by hashPassword; a malformed hash never matches.
bool verifyPassword(const std::string& hash, const std::string& password);

}  // namespace erp

#include "standin/site/PasswordHash.h"

#include <sodium.h>

#include <stdexcept>

namespace erp {
namespace {

void initialiseSodium() {
  static const int result = sodium_init();
  if (result < 0) throw std::runtime_error("The password library could not be initialised.");
}

}  // namespace

std::string hashPassword(const std::string& password, HashCost cost) {
  initialiseSodium();
  const bool minimal = cost == HashCost::kMinimal;
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(
          hash, password.data(), password.size(),
          minimal ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
          minimal ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    throw std::runtime_error("Not enough memory to hash the password.");
  }
  return hash;
}

bool verifyPassword(const std::string& hash, const std::string& password) {
  initialiseSodium();
  // The verifier reads a NUL-terminated string of at most STRBYTES; anything longer is not ours.
  if (hash.size() >= crypto_pwhash_STRBYTES) return false;
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace erp

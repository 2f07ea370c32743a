#include "convert/changes/ChangeDigest.h"

#include <array>

namespace convert {
namespace {

/// 128 bits of the HMAC: as hard to forge as the whole, half as wide in the spreadsheet.
constexpr std::size_t kDigestBytes = 16;

std::string hex(const unsigned char* bytes, std::size_t size) {
  constexpr const char* kDigits = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xF];
  }
  return text;
}

}  // namespace

ChangeDigest::ChangeDigest(const std::string& key) {
  // The digests are made many thousand times a second: the key is prepared once.
  crypto_auth_hmacsha256_init(&keyed_, reinterpret_cast<const unsigned char*>(key.data()),
                              key.size());
}

std::string ChangeDigest::Start(const std::string& header) const {
  return Next("Ordavel change file digest 1", header);
}

std::string ChangeDigest::Next(std::string_view previous, std::string_view row) const {
  crypto_auth_hmacsha256_state state = keyed_;
  for (std::string_view part : {previous, std::string_view("\0", 1), row}) {
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(part.data()),
                                  part.size());
  }
  std::array<unsigned char, crypto_auth_hmacsha256_BYTES> mac{};
  crypto_auth_hmacsha256_final(&state, mac.data());
  return hex(mac.data(), kDigestBytes);
}

}  // namespace convert

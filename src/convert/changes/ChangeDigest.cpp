#include "convert/changes/ChangeDigest.h"

#include <array>

namespace convert {
namespace {

/// 128 bits: out of reach of forgery, and half as wide in a spreadsheet as 256 would be.
constexpr std::size_t kDigestBytes = 16;

std::string Hex(const unsigned char* bytes, std::size_t size) {
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
  // Keyed BLAKE2b: a MAC in one pass, several times cheaper than an HMAC, which matters at a
  // digest per row. The keyed state is prepared once; a key longer than BLAKE2b takes is hashed.
  std::array<unsigned char, crypto_generichash_KEYBYTES_MAX> hashed{};
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(key.data());
  std::size_t size = key.size();
  if (size > hashed.size()) {
    crypto_generichash(hashed.data(), hashed.size(), bytes, size, nullptr, 0);
    bytes = hashed.data();
    size = hashed.size();
  }
  crypto_generichash_init(&keyed_, size == 0 ? nullptr : bytes, size, kDigestBytes);
}

std::string ChangeDigest::Start(const std::string& header) const {
  return Next("Ordavel change file digest 1", header);
}

std::string ChangeDigest::Next(std::string_view previous, std::string_view row) const {
  crypto_generichash_state state = keyed_;
  for (std::string_view part : {previous, std::string_view("\0", 1), row}) {
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(part.data()),
                              part.size());
  }
  std::array<unsigned char, kDigestBytes> mac{};
  crypto_generichash_final(&state, mac.data(), mac.size());
  return Hex(mac.data(), mac.size());
}

}  // namespace convert

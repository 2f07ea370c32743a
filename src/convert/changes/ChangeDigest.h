#pragma once

#include <sodium.h>

#include <string>
#include <string_view>

namespace convert {

/// The digest chain that proves a change file unedited since Ordavel wrote it. The header's
/// digest starts the chain and every row's digest covers the row and the digest before it, so a
/// row edited, added, removed or moved breaks the chain from there on, while a file cut after a
/// whole row (a kill) keeps a valid chain up to its cut. Keyed with a secret of the company,
/// nobody who cannot read that secret can make a valid chain; with an empty key the chain still
/// catches every accidental edit, such as a spreadsheet's.
class ChangeDigest {
 public:
  /// A chain keyed with `key`; the empty key for an unkeyed chain.
  explicit ChangeDigest(const std::string& key);

  /// The digest that starts the chain of a file whose header lines are `header`.
  std::string Start(const std::string& header) const;
  /// The digest of a row whose cells make the CSV line `row`, after the digest `previous`.
  std::string Next(std::string_view previous, std::string_view row) const;

 private:
  crypto_generichash_state keyed_{};
};

}  // namespace convert

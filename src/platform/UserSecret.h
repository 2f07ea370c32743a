#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace platform {

/// A secret file that cannot be used; the message names the file and what is wrong with it.
class UserSecretError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The folder of the program's own settings for the user running it: Ordavel in the folder
/// ORDAVEL_CONFIG_HOME names, else in XDG_CONFIG_HOME, else in ~/.config.
std::filesystem::path UserConfigFolder();

/// The `size` secret bytes kept in `file`. When there is no such file and `create` holds, it is
/// made of random bytes, readable and writable by its owner only, with the folders it needs
/// (owner-only); without `create` a missing file gives the empty string. A file that is not a
/// plain file owned by the user with mode 0600, or of another size, is never read: it raises
/// UserSecretError, as does a file that cannot be read or made.
std::string UserSecret(const std::filesystem::path& file, std::size_t size, bool create);

}  // namespace platform

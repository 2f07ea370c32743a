#pragma once

#include "util/Shell.h"

namespace gui {

/// The desktop's shell through Qt: web pages open in the operator's browser, documents in their
/// viewer and folders in the file browser, as the desktop environment has chosen them.
class DesktopShell : public util::Shell {
 public:
  /// Opens an address or a local file (one pair of surrounding quotes is taken off); 42 when a
  /// program was started, 2 when none could be.
  int Open(const std::string& target) override;
  /// Shows a local folder (one pair of surrounding quotes is taken off) in the file browser.
  void Explore(const std::string& folder) override;
};

}  // namespace gui

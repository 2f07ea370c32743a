#pragma once

#include "host/AccpacConnection.h"

#include <string>
#include <vector>

namespace batch {

/// What the ERP's error display is asked to show. While a job fills the window's controls the
/// messages are held back and kept, so that each one can be reported with the line of the job
/// that caused it; otherwise they are shown as usual.
class ShownErrors {
 public:
  /// Makes every error display that `services` creates from now on report here.
  void Attach(host::HostServices& services);
  /// Holds messages back (true) or lets them be shown (false).
  void Hold(bool hold) { holding_ = hold; }
  /// The messages held back since the last call.
  std::vector<std::string> Take();

 private:
  class Display;

  bool holding_ = false;
  std::vector<std::string> held_;
};

}  // namespace batch

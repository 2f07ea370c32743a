#pragma once

#include <string>

#include "util/Shell.h"

namespace util {

/// The Linux desktop's shell: opens documents, addresses and folders with xdg-open.
///
/// xdg-open is started without a command interpreter, from an argument vector, so blanks, quotes
/// and semicolons in a name are never read as commands. Callers quote folders and documents for a
/// shell that parses a command line (the ERP's platform does); since nothing parses the vector,
/// one pair of surrounding double quotes is taken off here, or it would become part of the name.
/// The program runs detached: xdg-open may wait for the viewer it starts, and the caller must not.
/// What counts is the program's exit status within a few seconds: xdg-open that finds no program
/// for the target exits non-zero, which is reported as a failure.
class XdgShell : public Shell {
 public:
  /// A shell that starts `program`, looked up on PATH.
  explicit XdgShell(std::string program = "xdg-open");

  /// Starts the program on the target; 42 when it started, 2 when it could not be started or
  /// reported a failure.
  int Open(const std::string& target) override;
  /// Starts the program on the folder; false when it could not be started or reported a failure.
  bool Explore(const std::string& folder) override;

  /// The target without one pair of surrounding double quotes, as a command line would read it.
  static std::string Unquoted(const std::string& target);

 private:
  std::string program_;
};

}  // namespace util

#pragma once

#include "host/DesktopLibrary.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace host {

/// Reads the program's command line; nullopt when it cannot be read.
using CommandLineReader = std::function<std::optional<std::string>()>;

/// Links the program's main window to the ERP desktop object that started the program.
class Desktop {
 public:
  static constexpr std::int32_t kLinkWindow = 3;
  static constexpr std::int32_t kRemoveLink = 2;

  Desktop(std::shared_ptr<DesktopLibrary> library, CommandLineReader commandLine);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  /// The desktop object handle: the first word of the command line, read once and kept.
  std::string ObjectHandle();
  /// Links the window to the desktop object; true when linked or nothing to link to.
  bool Link(std::int32_t hWnd);
  /// Removes the link, if there is one.
  void Unlink();

  /// The 56-byte record of a desktop link call.
  static DesktopLinkRecord BuildRecord(std::int32_t operation, std::int32_t hWnd,
                                       std::int32_t objectId);

 private:
  std::int32_t ObjectID();

  std::shared_ptr<DesktopLibrary> library_;
  CommandLineReader commandLine_;
  std::optional<std::string> objectHandle_;
  bool linked_ = false;
};

}  // namespace host

#pragma once

#include "util/Shell.h"

#include <functional>
#include <string>
#include <vector>

namespace util::testing {

/// Remembers what it was asked to open or show and answers with `result` (above 32: started).
class RecordingShell : public Shell {
 public:
  int Open(const std::string& target) override {
    opened.push_back(target);
    if (onOpen) onOpen();
    return result;
  }
  void Explore(const std::string& folder) override { explored.push_back(folder); }

  int result = 42;
  std::vector<std::string> opened;
  std::vector<std::string> explored;
  std::function<void()> onOpen;
};

/// Collects the critical messages instead of showing them.
class RecordingNotifier : public Notifier {
 public:
  void Critical(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

}  // namespace util::testing

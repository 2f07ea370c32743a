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
  bool Explore(const std::string& folder) override {
    explored.push_back(folder);
    return exploreResult;
  }

  int result = 42;
  bool exploreResult = true;
  std::vector<std::string> opened;
  std::vector<std::string> explored;
  std::function<void()> onOpen;
};

/// Collects the critical messages instead of showing them.
class RecordingNotifier : public Notifier {
 public:
  void Critical(const std::string& text) override { messages.push_back(text); }
  void CannotOpen(const std::string& text, const std::string& target) override {
    messages.push_back(text);
    targets.push_back(target);
  }
  std::vector<std::string> messages;
  /// What each CannotOpen offered for copying.
  std::vector<std::string> targets;
};

}  // namespace util::testing

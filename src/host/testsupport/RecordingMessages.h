#pragma once

#include "host/MessageBoxes.h"

#include <functional>
#include <string>
#include <vector>

namespace host::testing {

/// Records every message box and answers the questions from a list, Yes once it runs out;
/// `onAsk` runs when a question is asked, before it is answered.
class RecordingMessages : public MessageBoxes {
 public:
  struct Box {
    std::string text;
    std::string title;
    MessageIcon icon;
  };

  void Show(const std::string& text, const std::string& title, MessageIcon icon) override {
    boxes.push_back({text, title, icon});
  }
  bool AskYesNo(const std::string& text, const std::string& title, MessageIcon icon) override {
    boxes.push_back({text, title, icon});
    if (onAsk) onAsk();
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  /// The texts of the boxes shown, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Box& box : boxes) texts.push_back(box.text);
    return texts;
  }

  std::vector<bool> answers;
  std::vector<Box> boxes;
  std::function<void()> onAsk;
};

}  // namespace host::testing

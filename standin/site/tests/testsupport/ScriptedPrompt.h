#pragma once

#include "standin/site/SignonPrompt.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace erp::testing {

/// Answers the sign-on prompt from a script (nullopt cancels, as does the script's end) and keeps
/// every message it was asked with.
class ScriptedPrompt : public SignonPrompt {
 public:
  explicit ScriptedPrompt(std::deque<std::optional<Credentials>> script = {})
      : answers(std::move(script)) {}

  std::optional<Credentials> ask(const std::string& message) override {
    messages.push_back(message);
    if (answers.empty()) return std::nullopt;
    std::optional<Credentials> answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<std::optional<Credentials>> answers;
  std::vector<std::string> messages;
};

}  // namespace erp::testing

#pragma once

#include <string>

namespace host {

/// Icons of a message box.
enum class MessageIcon { None, Critical, Question, Exclamation, Information };

/// The platform's message boxes. The window shows dialogs; tests and the batch runner answer.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  /// Shows a message with an OK button.
  virtual void Show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  /// Asks a Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  /// Asks a Yes/No question whose Yes starts something that cannot be taken back, so that a
  /// stray Enter answers No; true for Yes. Those who answer without a window ask as AskYesNo.
  virtual bool AskYesNoDefaultNo(const std::string& text, const std::string& title,
                                 MessageIcon icon) {
    return AskYesNo(text, title, icon);
  }
};

}  // namespace host

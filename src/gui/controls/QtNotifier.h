#pragma once

#include "util/Shell.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace gui::controls {

/// Tells that a folder, document or address could not be opened: the message, the target in a
/// box the operator can select from, a Copy button that puts it on the clipboard, and OK.
class CannotOpenDialog : public QDialog {
 public:
  CannotOpenDialog(const std::string& title, const std::string& text, const std::string& target,
                   QWidget* parent = nullptr);

  QLabel& Message() const { return *message_; }
  QLineEdit& Target() const { return *target_; }
  QPushButton& CopyButton() const { return *copy_; }

 private:
  QLabel* message_ = nullptr;
  QLineEdit* target_ = nullptr;
  QPushButton* copy_ = nullptr;
};

/// Shows the program's error messages modally over `parent`, titled `title`, with the critical
/// icon; a target that could not be opened is offered for copying.
class QtNotifier : public util::Notifier {
 public:
  explicit QtNotifier(std::string title, QWidget* parent = nullptr)
      : title_(std::move(title)), parent_(parent) {}

  void Critical(const std::string& text) override;
  void CannotOpen(const std::string& text, const std::string& target) override;

 private:
  std::string title_;
  QPointer<QWidget> parent_;
};

}  // namespace gui::controls

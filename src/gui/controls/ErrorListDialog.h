#pragma once

#include "host/ErrorListView.h"

#include <QDialog>
#include <QPointer>

#include <vector>

class QListWidget;

namespace gui::controls {

/// The ERP's standard error display: the session's messages in their order, each with the icon
/// of its priority, and a button that copies them to the clipboard.
class ErrorListDialog : public QDialog {
 public:
  ErrorListDialog(const std::vector<host::ErrorListEntry>& entries, QWidget* parent = nullptr);

  QListWidget& List() const { return *list_; }
  /// The messages as the clipboard gets them: the priority's name, a colon and the text, a line
  /// each.
  QString Text() const { return text_; }
  /// Puts the messages on the clipboard.
  void CopyToClipboard() const;

 private:
  QListWidget* list_ = nullptr;
  QString text_;
};

/// Shows the session's error list in an ErrorListDialog, modal over `parent`.
class QtErrorListView : public host::ErrorListView {
 public:
  explicit QtErrorListView(QWidget* parent = nullptr) : parent_(parent) {}
  void Show(const std::vector<host::ErrorListEntry>& entries) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace gui::controls

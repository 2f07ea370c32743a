#pragma once

#include "host/EventPump.h"
#include "host/MessageBoxes.h"

#include <QPointer>
#include <QWidget>

namespace gui::controls {

/// The platform's message boxes, modal over `parent`, with the icon and buttons asked for.
class QtMessageBoxes : public host::MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}

  void Show(const std::string& text, const std::string& title, host::MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& title, host::MessageIcon icon) override;
  bool AskYesNoDefaultNo(const std::string& text, const std::string& title,
                         host::MessageIcon icon) override;

 private:
  bool Ask(const std::string& text, const std::string& title, host::MessageIcon icon,
           int defaultButton);

  QPointer<QWidget> parent_;
};

/// Lets the window's pending events run, so that Cancel is heard during a long loop.
class QtEventPump : public host::EventPump {
 public:
  void ProcessPendingMessages() override;
};

}  // namespace gui::controls

#include "about/LinkBox.h"

#include "util/ShellHelpers.h"

namespace about {

LinkBox::LinkBox(std::string text, std::string address, Timer& timer,
                 const PointerPosition& pointer, util::Shell& shell, util::Notifier& notifier)
    : text_(std::move(text)),
      address_(std::move(address)),
      timer_(timer),
      pointer_(pointer),
      shell_(shell),
      notifier_(notifier) {
  timer_.SetInterval(kLinkTimerInterval);
  timer_.Stop();
}

void LinkBox::MouseMove() {
  HideCaret();
  if (!underlined_) {
    SetUnderlined(true);
    timer_.Start();
  }
}

void LinkBox::Tick() {
  // There is no reliable "pointer left" event for a text box, so the timer polls the pointer while
  // the link is underlined.
  if (underlined_ && PointerOutside()) {
    SetUnderlined(false);
    timer_.Stop();
    HideCaret();
  }
}

void LinkBox::GotFocus() {
  HideCaret();
}

void LinkBox::LostFocus() {
  timer_.Stop();
  HideCaret();
  SetUnderlined(false);
}

void LinkBox::Click() {
  util::OpenURL(shell_, notifier_, address_);
  // Clicking puts the caret into the box; the link must not look like an editable field.
  HideCaret();
}

bool LinkBox::PointerOutside() const {
  const Point at = pointer_.Position();
  const int x = at.x - bounds_.left;
  const int y = at.y - bounds_.top;
  return x < 0 || y < 0 || x > bounds_.width || y > bounds_.height;
}

}  // namespace about

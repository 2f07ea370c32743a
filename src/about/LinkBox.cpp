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
  timer_.setInterval(kLinkTimerInterval);
  timer_.stop();
}

void LinkBox::MouseMove() {
  hideCaret();
  if (!underlined_) {
    setUnderlined(true);
    timer_.start();
  }
}

void LinkBox::Tick() {
  // There is no reliable "pointer left" event for a text box, so the timer polls the pointer while
  // the link is underlined.
  if (underlined_ && pointerOutside()) {
    setUnderlined(false);
    timer_.stop();
    hideCaret();
  }
}

void LinkBox::GotFocus() {
  hideCaret();
}

void LinkBox::LostFocus() {
  timer_.stop();
  hideCaret();
  setUnderlined(false);
}

void LinkBox::Click() {
  util::OpenURL(shell_, notifier_, address_);
  // Clicking puts the caret into the box; the link must not look like an editable field.
  hideCaret();
}

bool LinkBox::pointerOutside() const {
  const Point at = pointer_.position();
  const int x = at.x - bounds_.left;
  const int y = at.y - bounds_.top;
  return x < 0 || y < 0 || x > bounds_.width || y > bounds_.height;
}

}  // namespace about

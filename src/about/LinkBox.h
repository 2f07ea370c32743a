#pragma once

#include "about/Pointer.h"
#include "about/Timer.h"
#include "host/Signal.h"
#include "util/Shell.h"

#include <chrono>
#include <string>
#include <utility>

namespace about {

/// How often an underlined link checks whether the pointer has left it.
inline constexpr std::chrono::milliseconds kLinkTimerInterval{100};

/// A read-only text box shown as a web link: underlined while the pointer is over it, opening its
/// address when clicked, never showing a text caret. Its text, its font and each hiding of the
/// caret are announced by its signals.
class LinkBox {
 public:
  /// A link showing `text` that opens `address`; its timer is set up and stopped.
  LinkBox(std::string text, std::string address, Timer& timer, const PointerPosition& pointer,
          util::Shell& shell, util::Notifier& notifier);

  /// The text shown.
  const std::string& Text() const { return text_; }
  /// Replaces the text shown.
  void SetText(std::string text) { host::AssignAndNotify(text_, std::move(text), TextChanged); }
  /// The web address the link opens.
  const std::string& Address() const { return address_; }
  /// Whether the link is drawn with the underlined font.
  bool Underlined() const { return underlined_; }
  /// Gives the link its normal font.
  void UseNormalFont() { SetUnderlined(false); }
  /// The link's place in the window, which the view keeps up to date.
  const Rect& Bounds() const { return bounds_; }
  /// Moves the link.
  void SetBounds(const Rect& bounds) { bounds_ = bounds; }
  /// How often the caret of the link has been hidden; it is never shown again.
  int CaretHides() const { return caretHides_; }

  /// The pointer moves over the link.
  void MouseMove();
  /// The link's timer ticks.
  void Tick();
  /// The link gains the focus.
  void GotFocus();
  /// The link loses the focus.
  void LostFocus();
  /// The link is clicked.
  void Click();

  host::Signal<> TextChanged;
  /// The link switched between its underlined and its normal font.
  host::Signal<> UnderlinedChanged;
  /// The caret of the link must be hidden now.
  host::Signal<> CaretHidden;

 private:
  bool PointerOutside() const;
  void SetUnderlined(bool underlined) {
    host::AssignAndNotify(underlined_, underlined, UnderlinedChanged);
  }
  void HideCaret() {
    ++caretHides_;
    CaretHidden.Emit();
  }

  std::string text_;
  std::string address_;
  Timer& timer_;
  const PointerPosition& pointer_;
  util::Shell& shell_;
  util::Notifier& notifier_;
  bool underlined_ = false;
  Rect bounds_;
  int caretHides_ = 0;
};

}  // namespace about

#pragma once

#include "host/Signal.h"

#include <functional>
#include <string>
#include <vector>

namespace host {

/// What every window control has: enabled, visible, a tag and a caption, each announced when it
/// changes.
class WindowControl {
 public:
  WindowControl() = default;
  virtual ~WindowControl() = default;
  WindowControl(const WindowControl&) = delete;
  WindowControl& operator=(const WindowControl&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { AssignAndNotify(enabled_, enabled, EnabledChanged); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { AssignAndNotify(visible_, visible, VisibleChanged); }
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { AssignAndNotify(tag_, std::move(tag), TagChanged); }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) {
    AssignAndNotify(caption_, std::move(caption), CaptionChanged);
  }

  Signal<> EnabledChanged;
  Signal<> VisibleChanged;
  Signal<> TagChanged;
  Signal<> CaptionChanged;

 private:
  bool enabled_ = true;
  bool visible_ = true;
  std::string tag_;
  std::string caption_;
};

/// A text box (the processing box of a run).
class TextBox : public WindowControl {
 public:
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { AssignAndNotify(text_, std::move(text), TextChanged); }

  Signal<> TextChanged;

 private:
  std::string text_;
};

/// A check box: value 1 is checked; a click runs the handler the window gave it.
class CheckBox : public WindowControl {
 public:
  int Value() const { return value_; }
  /// Sets the value and runs the click handler, as the platform does.
  void SetValue(int value);
  void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
  /// Runs the click handler without changing the value.
  void Click();

  Signal<> ValueChanged;

 private:
  int value_ = 0;
  std::function<void()> onClick_;
};

/// A command button or a menu item: a caption and a click handler.
class CommandButton : public WindowControl {
 public:
  void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
  /// Runs the click handler when the control is enabled and visible.
  void Click();

 private:
  std::function<void()> onClick_;
};

using MenuItem = CommandButton;

/// The tab control: captions and enabled states of its tabs, and the current tab.
class TabControl : public WindowControl {
 public:
  explicit TabControl(std::vector<std::string> captions);
  int Tab() const { return tab_; }
  void SetTab(int tab) { AssignAndNotify(tab_, tab, TabChanged); }
  int Tabs() const { return static_cast<int>(captions_.size()); }
  const std::string& TabCaption(int tab) const { return captions_.at(static_cast<size_t>(tab)); }
  bool TabEnabled(int tab) const { return enabled_.at(static_cast<size_t>(tab)); }
  void SetTabEnabled(int tab, bool enabled);

  Signal<> TabChanged;
  /// The enabled state of the tab with this index changed.
  Signal<int> TabEnabledChanged;

 private:
  std::vector<std::string> captions_;
  std::vector<bool> enabled_;
  int tab_ = 0;
};

}  // namespace host

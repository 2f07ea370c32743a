#include "about/LinkBox.h"

#include "about/tests/testsupport/Fakes.h"

#include <gtest/gtest.h>

namespace about {
namespace {

using namespace about::testing;

class LinkBoxTest : public ::testing::Test {
 protected:
  LinkBoxTest() { link.SetBounds({10, 20, 100, 15}); }

  FakeTimer timer;
  FakePointer pointer;
  RecordingShell shell;
  RecordingNotifier notifier;
  LinkBox link{"Quenlix Home Page", "https://www.quenlix.com/", timer, pointer, shell, notifier};
};

TEST_F(LinkBoxTest, StartsNormalAndMovingOntoItUnderlinesItAndStartsTheTimerOnce) {
  EXPECT_FALSE(link.Underlined());
  EXPECT_FALSE(timer.IsRunning());
  EXPECT_EQ(std::chrono::milliseconds(100), timer.interval);
  link.MouseMove();
  link.MouseMove();
  EXPECT_TRUE(link.Underlined());
  EXPECT_TRUE(timer.IsRunning());
  EXPECT_EQ(1, timer.starts);
}

TEST_F(LinkBoxTest, TickTurnsTheUnderlineOffOnlyOnceThePointerHasLeft) {
  const struct {
    const char* name;
    Point pointer;
    bool stillUnderlined;
  } cases[] = {
      {"Inside", {50, 25}, true},
      {"TopLeftCorner", {10, 20}, true},
      {"BottomRightCorner", {110, 35}, true},
      {"LeftOf", {9, 25}, false},
      {"Above", {50, 19}, false},
      {"BeyondWidth", {111, 25}, false},
      {"BeyondHeight", {50, 36}, false},
  };
  for (const auto& c : cases) {
    link.LostFocus();
    pointer.at = {50, 25};
    link.MouseMove();
    const int hides = link.CaretHides();
    pointer.at = c.pointer;
    link.Tick();
    EXPECT_EQ(c.stillUnderlined, link.Underlined()) << c.name;
    EXPECT_EQ(c.stillUnderlined, timer.IsRunning()) << c.name;
    EXPECT_EQ(hides + (c.stillUnderlined ? 0 : 1), link.CaretHides()) << c.name;
  }
}

TEST_F(LinkBoxTest, LosingTheFocusStopsTheTimerAndTurnsTheUnderlineOff) {
  link.MouseMove();
  link.LostFocus();
  EXPECT_FALSE(link.Underlined());
  EXPECT_FALSE(timer.IsRunning());
}

TEST_F(LinkBoxTest, ClickOpensTheAddressHidesTheCaretAfterwardsAndReportsNoBrowser) {
  int hidesWhenOpened = -1;
  shell.onOpen = [&] { hidesWhenOpened = link.CaretHides(); };
  shell.result = 2;
  link.Click();
  EXPECT_EQ(std::vector<std::string>{"https://www.quenlix.com/"}, shell.opened);
  EXPECT_EQ(hidesWhenOpened + 1, link.CaretHides());
  EXPECT_EQ(std::vector<std::string>{"Cannot start browser to view https://www.quenlix.com/."},
            notifier.messages);
}

TEST_F(LinkBoxTest, EveryEventThatCouldShowTheCaretHidesIt) {
  const struct {
    const char* name;
    void (LinkBox::*event)();
  } cases[] = {
      {"MouseMove", &LinkBox::MouseMove},
      {"GotFocus", &LinkBox::GotFocus},
      {"LostFocus", &LinkBox::LostFocus},
      {"Click", &LinkBox::Click},
  };
  for (const auto& c : cases) {
    const int hides = link.CaretHides();
    (link.*c.event)();
    EXPECT_EQ(hides + 1, link.CaretHides()) << c.name;
  }
}

TEST_F(LinkBoxTest, TheFontAndEachHiddenCaretAreAnnounced) {
  int fontChanges = 0;
  int CaretHides = 0;
  host::ScopedConnection font = link.UnderlinedChanged.Connect([&] { ++fontChanges; });
  host::ScopedConnection caret = link.CaretHidden.Connect([&] { ++CaretHides; });
  link.MouseMove();
  link.MouseMove();
  link.LostFocus();
  EXPECT_EQ(2, fontChanges);
  EXPECT_EQ(link.CaretHides(), CaretHides);
}

}  // namespace
}  // namespace about

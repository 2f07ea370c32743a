#include "host/Desktop.h"

#include "host/tests/FakeHost.h"

#include <gtest/gtest.h>

namespace host {
namespace {

using namespace host::testing;

TEST(DesktopTest, LinksOnceWithAHandleAndUnlinksOnlyWhatItLinked) {
  Calls calls;
  auto library = std::make_shared<FakeDesktopLibrary>(calls);
  Desktop desktop(library, [] { return std::string("77"); });
  desktop.Unlink();
  EXPECT_TRUE(calls.records.empty()) << "nothing linked, nothing to remove";
  EXPECT_TRUE(desktop.Link(5));
  EXPECT_TRUE(desktop.Link(5));
  EXPECT_EQ(1u, calls.records.size()) << "a second link makes no call";
  desktop.Unlink();
  desktop.Unlink();
  EXPECT_EQ(2u, calls.records.size());
  Desktop alone(library, [] { return std::string(); });
  EXPECT_TRUE(alone.Link(5));
  EXPECT_EQ(2u, calls.records.size()) << "no handle, nothing to link";
}

}  // namespace
}  // namespace host

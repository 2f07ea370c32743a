#include "standin/site/ValueStore.h"

#include <gtest/gtest.h>

namespace erp {
namespace {

std::string repeated(const std::string& piece, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(SessionValueStoreTest, ReadGivesAtMost255Characters) {
  auto check = [&](const char* name, const std::string& stored, const std::string& expected) {
    SCOPED_TRACE(name);
    ValueStore store;
    store.set("CS0100_FILTER", stored);
    EXPECT_EQ(expected, store.read("CS0100_FILTER"));
  };
  check("short text", "FIELD = \"A\"", "FIELD = \"A\"");
  check("exactly the limit", repeated("x", 255), repeated("x", 255));
  check("one over the limit", repeated("x", 256), repeated("x", 255));
  check("far over the limit", repeated("ab", 300), repeated("ab", 127) + "a");
  check("two-byte characters are never split", repeated("\xC3\xA9", 300),
        repeated("\xC3\xA9", 255));
  check("empty text", "", "");
}

TEST(SessionValueStoreTest, RemovedOrMissingValuesReadEmpty) {
  ValueStore store;
  EXPECT_EQ("", store.read("CS0100_FILTER"));
  EXPECT_FALSE(store.contains("CS0100_FILTER"));

  store.set("CS0100_FILTER", "first");
  store.set("CS0100_FILTER", "second");
  store.set("OTHER", "kept");
  EXPECT_EQ("second", store.read("CS0100_FILTER"));

  store.remove("CS0100_FILTER");
  store.remove("CS0100_FILTER");
  EXPECT_FALSE(store.contains("CS0100_FILTER"));
  EXPECT_EQ("", store.read("CS0100_FILTER"));
  EXPECT_EQ("kept", store.read("OTHER"));
}

}  // namespace
}  // namespace erp

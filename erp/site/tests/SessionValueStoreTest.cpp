#include "erp/site/ValueStore.h"

#include <gtest/gtest.h>

namespace erp {
namespace {

std::string repeated(const std::string& piece, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(SessionValueStoreTest, ReadGivesAtMost255Characters) {
  struct Case {
    const char* name;
    std::string stored;
    std::string expected;
  };
  const Case cases[] = {
      {"short text", "FIELD = \"A\"", "FIELD = \"A\""},
      {"exactly the limit", repeated("x", 255), repeated("x", 255)},
      {"one over the limit", repeated("x", 256), repeated("x", 255)},
      {"far over the limit", repeated("ab", 300), repeated("ab", 127) + "a"},
      {"two-byte characters are never split", repeated("\xC3\xA9", 300), repeated("\xC3\xA9", 255)},
      {"empty text", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ValueStore store;
    store.set("CS0100_FILTER", c.stored);
    EXPECT_EQ(c.expected, store.read("CS0100_FILTER"));
  }
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

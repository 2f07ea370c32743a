#include "util/cRegistry.h"

#include <gtest/gtest.h>

#include "platform/tests/testsupport/TempFolder.h"
#include "util/tests/StandinRegistry.h"

namespace util {
namespace {

using platform::RegistryStatus;
using platform::RegistryValue;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kConfig = "SOFTWARE\\ACCPAC International, Inc.\\ACCPAC\\Configuration";

RegistryValue stored(std::uint32_t type, const std::string& bytes) {
  return RegistryValue{type, Bytes(bytes.begin(), bytes.end())};
}

class cRegistryTest : public ::testing::Test {
 protected:
  cRegistryTest()
      : registryFile_("ORDAVEL_REGISTRY", (folder_ / "registry").string()), registry_(store_) {}

  void put(const std::string& name, const RegistryValue& value) {
    ASSERT_EQ(RegistryStatus::kOk, store_.createKey(platform::kLocalMachine, kConfig));
    ASSERT_EQ(RegistryStatus::kOk, store_.setValue(platform::kLocalMachine, kConfig, name, value));
  }

  void aim(const std::string& name, std::uint32_t type) {
    registry_.ClassKey(platform::kLocalMachine);
    registry_.SectionKey(kConfig);
    registry_.ValueKey(name);
    registry_.ValueType(type);
  }

  platform::testing::TempFolder folder_;
  platform::testing::ScopedEnv registryFile_;
  testing::StandinRegistry store_;
  cRegistry registry_;
};

TEST_F(cRegistryTest, KeyExistsWithoutTheValueAndTheReadGivesTheDefault) {
  put("Other", stored(platform::kRegString, "x"));
  aim("Programs", platform::kRegString);

  EXPECT_TRUE(registry_.KeyExists());
  EXPECT_EQ(RegValue{}, registry_.value());
  registry_.Default(std::string("fallback"));
  EXPECT_EQ(RegValue{std::string("fallback")}, registry_.value());
  EXPECT_EQ(platform::kRegString, registry_.ValueType());

  registry_.SectionKey("Missing");
  EXPECT_FALSE(registry_.KeyExists());
  EXPECT_EQ(RegValue{std::string("fallback")}, registry_.value());
}

TEST_F(cRegistryTest, ReadsEachTypeAsItsKindOfValue) {
  platform::testing::ScopedEnv data("ORDAVEL_TEST_DATA", "/srv/data");
  auto check = [&](const char* name, const RegistryValue& value, const RegValue& expected) {
    put(name, value);
    aim(name, platform::kRegString);
    EXPECT_EQ(expected, registry_.value()) << name;
    EXPECT_EQ(value.type, registry_.ValueType()) << name;
  };
  check("StringWithoutItsNul", stored(1, std::string("C:\\Sage\0", 8)), std::string("C:\\Sage"));
  check("StringWithNoBytes", stored(1, ""), std::string());
  check("MultiStringKeepsInnerNuls", stored(7, std::string("a\0b\0\0", 5)),
        std::string("a\0b\0", 4));
  check("ExpandableIsExpanded", stored(2, std::string("%ORDAVEL_TEST_DATA%\\Co\0", 23)),
        std::string("/srv/data\\Co"));
  check("ExpandableWithUnsetNameIsKept", stored(2, std::string("%ORDAVEL_UNSET_X%\0", 18)),
        std::string("%ORDAVEL_UNSET_X%"));
  check("DwordIsANumber", stored(4, std::string("\x2a\x01\0\0", 4)), 298);
  check("NegativeDword", stored(4, "\xff\xff\xff\xff"), -1);
  check("BigEndianDwordHasItsBytesReversed", stored(5, std::string("\0\0\x01\x2a", 4)), 298);
  check("BinaryIsAByteArray", stored(3, std::string("\0\x01\xff", 3)), Bytes{0, 1, 0xff});
  check("UnknownTypeIsAByteArray", stored(11, "ab"), Bytes{'a', 'b'});
}

}  // namespace
}  // namespace util

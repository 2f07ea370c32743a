#include "util/cRegistry.h"

#include <gtest/gtest.h>

#include "platform/tests/testsupport/TempFolder.h"
#include "util/Error.h"
#include "util/tests/testsupport/StandinRegistry.h"

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
      : registryFile_("ORDAVEL_REGISTRY", (folder_ / "registry").string()),
        registry_(store_, "ordavel") {}

  void put(const std::string& name, const RegistryValue& value) {
    ASSERT_EQ(RegistryStatus::kOk, store_.createKey(platform::kLocalMachine, kConfig));
    ASSERT_EQ(RegistryStatus::kOk, store_.setValue(platform::kLocalMachine, kConfig, name, value));
  }

  std::optional<RegistryValue> get(platform::RegistryHive hive, const std::string& path,
                                   const std::string& name) {
    RegistryValue out;
    if (store_.queryValue(hive, path, name, out) != RegistryStatus::kOk) return std::nullopt;
    return out;
  }

  void aim(const std::string& name, std::uint32_t type) {
    registry_.ClassKey(platform::kLocalMachine);
    registry_.SectionKey(kConfig);
    registry_.ValueKey(name);
    registry_.ValueType(type);
  }

  // Runs a write that must fail and gives the message it raised.
  template <typename Action>
  std::string failure(Action action) {
    try {
      action();
    } catch (const Error& error) {
      EXPECT_EQ(26001, error.number());
      EXPECT_EQ("ordavel.cRegistry", error.source());
      return error.what();
    }
    ADD_FAILURE() << "nothing was raised";
    return {};
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

// Later plain reads and writes go where the last ValueEx pointed.
TEST_F(cRegistryTest, ValueExReadsOrWritesAndLeavesTheRegistryAimedThere) {
  put("Edition", stored(4, std::string("\x03\0\0\0", 4)));
  EXPECT_EQ(RegValue{3}, registry_.ValueEx(platform::kLocalMachine, kConfig, "Edition",
                                           platform::kRegDword, RegValue{}));
  registry_.ValueEx(platform::kLocalMachine, kConfig, "Written", platform::kRegDword,
                    RegValue{std::string("dflt")}, 17);
  EXPECT_EQ(stored(4, std::string("\x11\0\0\0", 4)),
            get(platform::kLocalMachine, kConfig, "Written"));
  registry_.value(18);
  EXPECT_EQ(stored(4, std::string("\x12\0\0\0", 4)),
            get(platform::kLocalMachine, kConfig, "Written"));

  EXPECT_EQ(RegValue{std::string("none")},
            registry_.ValueEx(platform::kLocalMachine, kConfig, "Absent", platform::kRegString,
                              RegValue{std::string("none")}));
  EXPECT_EQ(RegValue{std::string("none")}, registry_.value());
}

TEST_F(cRegistryTest, TextWritesChooseExpandableOnlyForAReference) {
  auto check = [&](const char* name, const RegValue& value, const RegistryValue& expected) {
    for (std::uint32_t type : {platform::kRegString, platform::kRegExpandString}) {
      aim(name, type);
      registry_.value(value);
      EXPECT_EQ(expected, get(platform::kLocalMachine, kConfig, name)) << name << type;
    }
  };
  check("PlainText", std::string("C:\\A"), stored(1, std::string("C:\\A\0", 5)));
  check("Reference", std::string("%TEMP%\\x"), stored(2, std::string("%TEMP%\\x\0", 9)));
  check("ShortestReference", std::string("%x%"), stored(2, std::string("%x%\0", 4)));
  check("AdjacentSigns", std::string("100%%"), stored(1, std::string("100%%\0", 6)));
  check("SingleSign", std::string("50% off"), stored(1, std::string("50% off\0", 8)));
  check("NumberAsText", 42, stored(1, std::string("42\0", 3)));
  check("EmptyValue", RegValue{}, stored(1, std::string("\0", 1)));
}

TEST_F(cRegistryTest, NumberWritesAreLittleEndianDwordsAndBinaryWritesByteArrays) {
  aim("Plain", platform::kRegDword);
  registry_.value(298);
  aim("BigEndian", platform::kRegDwordBigEndian);
  registry_.value(-2);
  aim("NotANumber", platform::kRegDword);
  registry_.value(std::string("12"));
  aim("Blob", platform::kRegBinary);
  registry_.value(Bytes{0, 7});

  EXPECT_EQ(stored(4, std::string("\x2a\x01\0\0", 4)),
            get(platform::kLocalMachine, kConfig, "Plain"));
  EXPECT_EQ(stored(4, "\xfe\xff\xff\xff"), get(platform::kLocalMachine, kConfig, "BigEndian"));
  EXPECT_EQ(std::nullopt, get(platform::kLocalMachine, kConfig, "NotANumber"));
  EXPECT_EQ(stored(3, std::string("\0\x07", 2)), get(platform::kLocalMachine, kConfig, "Blob"));
}

TEST_F(cRegistryTest, WritesOfAValueTheTypeCannotHoldOrIntoNoHiveFailAndWriteNothing) {
  auto fails = [&](platform::RegistryHive hive, std::uint32_t type, const std::string& name,
                   const RegValue& value) {
    registry_.ClassKey(hive);
    registry_.SectionKey("S");
    registry_.ValueKey(name);
    registry_.ValueType(type);
    const std::string message = failure([&] { registry_.value(value); });
    EXPECT_EQ(std::nullopt, get(hive, "S", name)) << name;
    return message;
  };
  const std::string set = "Failed to set registry value Key: '";
  EXPECT_EQ(set + "2147483650',Section: 'S',Key: 'Blob' to value: 'abc'",
            fails(platform::kLocalMachine, platform::kRegBinary, "Blob", std::string("abc")));
  EXPECT_EQ(set + "2147483650',Section: 'S',Key: 'Multi' to value: '5'",
            fails(platform::kLocalMachine, platform::kRegMultiString, "Multi", 5));
  EXPECT_EQ(set + "2147483655',Section: 'S',Key: 'Name' to value: 'text'",
            fails(0x80000007, platform::kRegString, "Name", std::string("text")));
}

TEST_F(cRegistryTest, AWriteToAStoreThatCannotBeWrittenFails) {
  platform::testing::WriteFile(folder_ / "file", "x");
  testing::StandinRegistry blocked(folder_ / "file" / "registry");
  cRegistry registry(blocked, "ordavel");
  EXPECT_EQ("Failed to set registry value Key: '2147483650',Section: 'K',Key: '' to value: '1'",
            failure([&] { registry.ValueEx(platform::kLocalMachine, "K", "", 4, {}, 1); }));
  EXPECT_EQ("Failed to create registry Key: 'K", failure([&] { registry.CreateKey(); }));
}

TEST_F(cRegistryTest, KeyCreationAndDeletion) {
  aim("", platform::kRegString);
  EXPECT_TRUE(registry_.CreateKey());
  EXPECT_TRUE(registry_.KeyExists());
  EXPECT_TRUE(registry_.DeleteKey());
  EXPECT_FALSE(registry_.KeyExists());
  EXPECT_EQ("Failed to delete registry Key: '2147483650',Section: '" + std::string(kConfig),
            failure([&] { registry_.DeleteKey(); }));
}

TEST_F(cRegistryTest, ValueDeletionFailsApartForAMissingKeyAndAMissingValue) {
  aim("Gone", platform::kRegString);
  const std::string section = "'2147483650',Section: '" + std::string(kConfig);
  EXPECT_EQ("Failed to open key " + section + "' for delete access",
            failure([&] { registry_.DeleteValue(); }));

  registry_.value(std::string("x"));
  EXPECT_TRUE(registry_.DeleteValue());
  EXPECT_EQ(std::nullopt, get(platform::kLocalMachine, kConfig, "Gone"));
  EXPECT_EQ("Failed to delete registry Key: " + section + "',Key: 'Gone",
            failure([&] { registry_.DeleteValue(); }));
}

TEST_F(cRegistryTest, MachineNamesGetTheUncPrefix) {
  auto check = [&](const char* name, const char* given, const char* expected) {
    registry_.Machine(given);
    EXPECT_EQ(expected, registry_.Machine()) << name;
  };
  check("TwoLettersAreDropped", "PC", "");
  check("ThreeLettersArePrefixed", "SRV", "\\\\SRV");
  check("PrefixedNameIsKept", "\\\\HOST", "\\\\HOST");
}

TEST_F(cRegistryTest, EnumerationsFillArraysFromIndexOne) {
  put("Programs", stored(1, "a"));
  put("SharedData", stored(1, "b"));
  ASSERT_EQ(RegistryStatus::kOk,
            store_.createKey(platform::kLocalMachine, std::string(kConfig) + "\\Sub"));
  aim("", platform::kRegString);

  std::vector<std::string> names{"stale"};
  int count = -1;
  EXPECT_TRUE(registry_.EnumerateValues(names, count));
  EXPECT_EQ(2, count);
  EXPECT_EQ((std::vector<std::string>{"", "Programs", "SharedData"}), names);
  EXPECT_TRUE(registry_.EnumerateSections(names, count));
  EXPECT_EQ(1, count);
  EXPECT_EQ((std::vector<std::string>{"", "Sub"}), names);

  registry_.SectionKey("Missing");
  EXPECT_FALSE(registry_.EnumerateSections(names, count));
  EXPECT_EQ(0, count);
}

TEST_F(cRegistryTest, ExeAssociationIsWrittenUnderBothRoots) {
  registry_.CreateEXEAssociation("/opt/ordavel", "Ordavel.Job", "Ordavel job", "ojb", "", true, "",
                                 false, "", true, "", 2);
  const auto text = [](const std::string& value) {
    std::string bytes = value;
    bytes.push_back('\0');
    return stored(1, bytes);
  };
  const struct {
    const char* key;
    const char* expected;
  } entries[] = {
      {".ojb", "Ordavel.Job"},
      {"Ordavel.Job\\shell\\open\\command", "/opt/ordavel \"%1\""},
      {"Ordavel.Job\\shell\\print\\command", "/opt/ordavel /p \"%1\""},
      {"Ordavel.Job\\shell\\add", "&Install ojb"},
      {"Ordavel.Job\\shell\\add\\command", "/opt/ordavel /a \"%1\""},
      {"Ordavel.Job\\DefaultIcon", "/opt/ordavel,2"},
  };
  for (const auto& e : entries) {
    EXPECT_EQ(text(e.expected), get(platform::kClassesRoot, e.key, "")) << e.key;
    EXPECT_EQ(text(e.expected),
              get(platform::kLocalMachine, std::string("SOFTWARE\\Classes\\") + e.key, ""))
        << e.key;
  }
  EXPECT_EQ(RegistryStatus::kNotFound,
            store_.openKey(platform::kClassesRoot, "Ordavel.Job\\shell\\new"));
}

TEST_F(cRegistryTest, AdditionalAssociationsNeedTriplesAndARegisteredClass) {
  EXPECT_EQ(
      "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
      "Name/Text/Command",
      failure([&] {
        registry_.CreateAdditionalEXEAssociations("C", {"a", "b"});
      }));
  EXPECT_EQ("Error - attempt to create additional associations before class defined.", failure([&] {
              registry_.CreateAdditionalEXEAssociations("C", {"a", "b", "c"});
            }));

  registry_.CreateEXEAssociation("/x", "C", "d", "c", "", false, "", false, "", false, "", 0);
  registry_.CreateAdditionalEXEAssociations("C", {"edit", "&Edit", "/x -e"});
  EXPECT_EQ(stored(1, std::string("&Edit\0", 6)),
            get(platform::kClassesRoot, "C\\shell\\edit", ""));
  EXPECT_EQ(stored(1, std::string("/x -e\0", 6)),
            get(platform::kLocalMachine, "SOFTWARE\\Classes\\C\\shell\\edit\\command", ""));
}

}  // namespace
}  // namespace util

#include "erp/runtime/Installation.h"

#include "erp/runtime/SiteConfigRecord.h"
#include "erp/testsupport/SiteTempFolder.h"
#include "platform/tests/testsupport/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace erp {
namespace {

RuntimeOptions withEdition(std::int32_t edition) {
  RuntimeOptions options;
  options.edition = edition;
  return options;
}

class RuntimeInstallationTest : public ::testing::Test {
 protected:
  std::string text(const std::string& name) {
    const RegistryValue found = value(name);
    EXPECT_EQ(kRegString, found.type);
    return std::string(found.data.begin(), found.data.end());
  }
  RegistryValue value(const std::string& name) {
    RegistryValue found;
    EXPECT_EQ(RegistryStatus::kOk,
              registry.queryValue(kLocalMachine, kConfigurationKey, name, found));
    return found;
  }
  std::filesystem::path runtime() const { return temp.folder() / "Programs" / "runtime"; }

  TempSite temp;
  RegistryStore registry{temp.folder() / "registry"};
};

TEST_F(RuntimeInstallationTest, RecordsTheFoldersAndTheEditionInTheRegistry) {
  installStandinRuntime(temp.folder() / "Programs", temp.folder(), registry, withEdition(1));
  const std::string programs = (temp.folder() / "Programs").string();
  const std::string shared = temp.folder().string();
  EXPECT_EQ(programs + '\0', text("Programs"));
  EXPECT_EQ(shared + '\0', text("SharedData"));
  EXPECT_EQ((RegistryValue{kRegDword, {1, 0, 0, 0}}), value("Edition"));
}

TEST_F(RuntimeInstallationTest, PutsTheLibrariesTheProgramFileAndTheIniIntoTheRuntimeFolder) {
  RuntimeOptions accpac6_0_1_25;
  accpac6_0_1_25.productUpdate = "3";
  accpac6_0_1_25.accpacVersion = {6, 0, 1, 25};
  installStandinRuntime(temp.folder() / "Programs", temp.folder(), registry, accpac6_0_1_25);
  EXPECT_TRUE(std::filesystem::is_regular_file(runtime() / "a4wapi.dll"));
  EXPECT_TRUE(std::filesystem::is_regular_file(runtime() / "DsktpEng.dll"));
  EXPECT_EQ("[General]\r\nProductUpdate=3\r\n", platform::testing::ReadFile(runtime() / "A4W.INI"));

  const std::string image = platform::testing::ReadFile(runtime() / "accpac.exe");
  const std::string block = std::string("\xBD\x04\xEF\xFE", 4) + std::string("\0\0\1\0", 4) +
                            std::string("\0\0\6\0", 4) + std::string("\x19\0\1\0", 4);
  const size_t offset = image.find(block);
  ASSERT_NE(std::string::npos, offset);
  EXPECT_EQ(1u, offset % 2);  // readers must search for the block, not assume an alignment
  EXPECT_EQ("MZ", image.substr(0, 2));
}

TEST_F(RuntimeInstallationTest, MissingLibraryIsAnError) {
  RuntimeOptions options;
  options.libraryFolder = temp.folder() / "nowhere";
  try {
    installStandinRuntime(temp.folder() / "Programs", temp.folder(), registry, options);
    FAIL() << "installed without libraries";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string::npos, std::string(error.what()).find("a4wapi.dll"));
  }
  RegistryValue ignored;
  EXPECT_EQ(RegistryStatus::kNotFound,
            registry.queryValue(kLocalMachine, kConfigurationKey, "Programs", ignored));
}

class SiteConfigRecordTest : public ::testing::Test {
 protected:
  SiteConfigRecordTest() : site(temp.layout()) {
    site.setSiteRecord({"", "CLIENT-1", "Client One", "Dealer D", "Consultant C", "Contact K"});
    site.addCompany("SAMLTD", "Sample Limited");
    site.setSiteRecord({"SAMLTD", std::string(60, 'I'), "Limited", "", "", ""});
  }
  std::int32_t fill(const std::string& orgId, std::int32_t size = 256) {
    record.assign(256, '\0');
    std::copy(orgId.begin(), orgId.end(), record.begin());
    return fillSiteConfigRecord(site, record.data(), size);
  }
  std::string at(size_t offset, size_t length) const { return record.substr(offset, length); }

  TempSite temp;
  SiteDatabase site;
  std::string record;
};

TEST_F(SiteConfigRecordTest, SiteRecordFieldsSitAtTheirOffsetsPaddedWithBlanks) {
  ASSERT_EQ(kSiteConfigOk, fill("      "));
  EXPECT_EQ("      ", at(0, 6));
  EXPECT_EQ("CLIENT-1" + std::string(52, ' '), at(6, 60));
  EXPECT_EQ("Client One" + std::string(50, ' '), at(66, 60));
  EXPECT_EQ(std::string(14, ' '), at(126, 14));
  EXPECT_EQ("Dealer D" + std::string(27, ' '), at(140, 35));
  EXPECT_EQ("Consultant C" + std::string(23, ' '), at(175, 35));
  EXPECT_EQ("Contact K" + std::string(26, ' '), at(210, 35));
  EXPECT_EQ(std::string(11, ' '), at(245, 11));
}

TEST_F(SiteConfigRecordTest, ResultCodes) {
  auto check = [this](const char* name, const std::string& orgId, std::int32_t size,
                      std::int32_t expected) { EXPECT_EQ(expected, fill(orgId, size)) << name; };
  check("company", "SAMLTD", 256, kSiteConfigOk);
  check("company in lower case", "samltd", 256, kSiteConfigOk);
  check("unknown company", "NOSUCH", 256, kSiteConfigNoRecord);
  check("malformed org ID", "SAM-1 ", 256, kSiteConfigNoRecord);
  check("short record", "      ", 255, kSiteConfigShortRecord);
  EXPECT_EQ(kSiteConfigBadArgument, fillSiteConfigRecord(site, nullptr, 256));
}

}  // namespace
}  // namespace erp

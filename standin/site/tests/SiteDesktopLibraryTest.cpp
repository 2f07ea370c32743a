#include "standin/site/ErpDesktopLibrary.h"

#include "standin/testsupport/SiteTempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace erp {
namespace {

using Record = std::array<unsigned char, 56>;

void putLittleEndian(Record& record, size_t offset, std::uint32_t value) {
  for (size_t i = 0; i < 4; ++i) record[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

Record makeRecord(std::uint32_t size, std::uint32_t operation, std::uint32_t window,
                  std::uint32_t handle) {
  Record record{};
  putLittleEndian(record, 0, size);
  putLittleEndian(record, 12, operation);
  putLittleEndian(record, 24, window);
  putLittleEndian(record, 52, handle);
  return record;
}

/// One site with a user and a company for every case; each case makes its own desktop session,
/// so that the one password hash is paid once.
class SiteDesktopLibraryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    temp_ = std::make_unique<TempSite>();
    catalog_ = std::make_unique<ViewCatalog>(optionTestViews());
    SiteDatabase site(temp_->layout());
    site.addCompany("SAMLTD", "Sample", *catalog_);
    site.addUser("ADMIN", "Administrator", "secret", erp::HashCost::kMinimal);
  }
  static void TearDownTestSuite() {
    temp_.reset();
    catalog_.reset();
  }

  SiteDesktopLibraryTest()
      : site_(temp_->layout()),
        library_(temp_->folder()),
        handle_(site_.createDesktopSession("ADMIN", "SAMLTD")) {}

  static std::unique_ptr<TempSite> temp_;
  static std::unique_ptr<ViewCatalog> catalog_;
  SiteDatabase site_;
  DesktopLibrary library_;
  std::int32_t handle_;
};

std::unique_ptr<TempSite> SiteDesktopLibraryTest::temp_;
std::unique_ptr<ViewCatalog> SiteDesktopLibraryTest::catalog_;

TEST_F(SiteDesktopLibraryTest, FaultyRecordsAreRefusedAndLinkNothing) {
  auto check = [&](const char* name, std::uint32_t size, std::uint32_t operation,
                   std::int64_t handleOffset, int expected) {
    SCOPED_TRACE(name);
    const Record record =
        makeRecord(size, operation, 99, static_cast<std::uint32_t>(handle_ + handleOffset));
    EXPECT_EQ(expected, library_.rotoCall(record.data()));
  };
  check("size zero", 0, 3, 0, kRotoBadRecord);
  check("size one too many", 57, 3, 0, kRotoBadRecord);
  check("size in the wrong byte order", 0x38000000, 3, 0, kRotoBadRecord);
  check("operation 1", 56, 1, 0, kRotoBadOperation);
  check("operation 4", 56, 4, 0, kRotoBadOperation);
  check("link to an unknown desktop", 56, 3, 1000, kRotoUnknownDesktop);
  check("unlink an unknown desktop", 56, 2, 1000, kRotoUnknownDesktop);
  EXPECT_TRUE(site_.linkedWindows(handle_).empty());
  EXPECT_EQ(kRotoBadRecord, library_.rotoCall(nullptr));
}

TEST(SiteDesktopLibraryWithoutSiteTest, ASharedDataFolderWithoutSiteIsReported) {
  DesktopLibrary library(std::filesystem::temp_directory_path() / "ordavel-no-site-here");
  const Record record = makeRecord(56, 3, 1, 1);
  EXPECT_EQ(kRotoSiteUnavailable, library.rotoCall(record.data()));
}

}  // namespace
}  // namespace erp

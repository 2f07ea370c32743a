#include "standin/site/ErpDesktopLibrary.h"

#include "standin/site/SiteDatabase.h"

#include <exception>
#include <utility>

namespace erp {
namespace {

constexpr std::size_t kSizeOffset = 0;
constexpr std::size_t kOperationOffset = 12;
constexpr std::size_t kWindowOffset = 24;
constexpr std::size_t kObjectOffset = 52;

std::uint32_t readLittleEndian(const unsigned char* record, std::size_t offset) {
  return static_cast<std::uint32_t>(record[offset]) |
         static_cast<std::uint32_t>(record[offset + 1]) << 8 |
         static_cast<std::uint32_t>(record[offset + 2]) << 16 |
         static_cast<std::uint32_t>(record[offset + 3]) << 24;
}

}  // namespace

DesktopLibrary::DesktopLibrary(std::filesystem::path sharedData) : layout_(std::move(sharedData)) {}

int DesktopLibrary::rotoCall(const void* record56) {
  if (record56 == nullptr) return kRotoBadRecord;
  const auto* record = static_cast<const unsigned char*>(record56);
  if (readLittleEndian(record, kSizeOffset) != kRecordSize) return kRotoBadRecord;
  const auto operation = static_cast<std::int32_t>(readLittleEndian(record, kOperationOffset));
  if (operation != kLink && operation != kUnlink) return kRotoBadOperation;
  const std::uint32_t window = readLittleEndian(record, kWindowOffset);
  const auto handle = static_cast<std::int32_t>(readLittleEndian(record, kObjectOffset));

  // Called through a C-style entry point, so a failure becomes a result code, never an exception.
  try {
    SiteDatabase site(layout_);
    const bool known =
        operation == kLink ? site.linkWindow(handle, window) : site.unlinkWindow(handle, window);
    return known ? kRotoOk : kRotoUnknownDesktop;
  } catch (const std::exception&) {
    return kRotoSiteUnavailable;
  }
}

}  // namespace erp

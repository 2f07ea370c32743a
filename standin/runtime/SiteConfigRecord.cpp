#include "standin/runtime/SiteConfigRecord.h"

#include <algorithm>
#include <exception>
#include <string>

namespace erp {
namespace {

void put(char* record, std::size_t offset, std::size_t length, const std::string& text) {
  std::copy_n(text.begin(), std::min(length, text.size()), record + offset);
}

}  // namespace

std::int32_t fillSiteConfigRecord(const SiteDatabase& site, char* record, std::int32_t size) {
  using L = SiteConfigLayout;
  if (record == nullptr) return kSiteConfigBadArgument;
  if (size < static_cast<std::int32_t>(L::kSize)) return kSiteConfigShortRecord;
  std::optional<SiteRecord> found;
  try {
    found = site.siteRecord(std::string(record + L::kOrgId, L::kOrgIdLength));
  } catch (const std::exception&) {
    return kSiteConfigReadFailed;
  }
  if (!found) return kSiteConfigNoRecord;
  std::fill(record + L::kOrgIdLength, record + L::kSize, ' ');
  put(record, L::kClientId, SiteRecord::kClientIdLength, found->clientId);
  put(record, L::kClientName, SiteRecord::kClientNameLength, found->clientName);
  put(record, L::kDealer, SiteRecord::kDealerLength, found->dealer);
  put(record, L::kConsultant, SiteRecord::kConsultantLength, found->consultant);
  put(record, L::kContact, SiteRecord::kContactLength, found->contact);
  return kSiteConfigOk;
}

}  // namespace erp

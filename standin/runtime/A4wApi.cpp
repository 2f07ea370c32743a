#include "standin/runtime/SiteConfigRecord.h"
#include "standin/site/SiteDatabase.h"

#include <cstdint>
#include <exception>
#include <map>
#include <memory>

namespace {

struct OpenSites {
  std::map<std::int32_t, std::unique_ptr<erp::SiteDatabase>> byHandle;
  std::int32_t lastHandle = 0;
};

// Callers hold only a number across the C interface, so the library itself must keep what each
// number stands for, for as long as it stays loaded.
OpenSites& openSites() {
  static OpenSites sites;
  return sites;
}

}  // namespace

#define A4WAPI_EXPORT extern "C" __attribute__((visibility("default")))

A4WAPI_EXPORT std::int32_t sitecnfgOpen(std::int32_t* handle, const char* sharedData) {
  if (handle == nullptr || sharedData == nullptr) return erp::kSiteConfigBadArgument;
  try {
    auto site =
        std::make_unique<erp::SiteDatabase>(erp::SiteLayout(sharedData), erp::SiteAccess::ReadOnly);
    OpenSites& sites = openSites();
    *handle = ++sites.lastHandle;
    sites.byHandle.emplace(*handle, std::move(site));
    return erp::kSiteConfigOk;
  } catch (const std::exception&) {
    return erp::kSiteConfigNoSite;
  }
}

A4WAPI_EXPORT std::int32_t sitecnfgGet(std::int32_t handle, char* record, std::int32_t size) {
  OpenSites& sites = openSites();
  auto found = sites.byHandle.find(handle);
  if (found == sites.byHandle.end()) return erp::kSiteConfigBadHandle;
  return erp::fillSiteConfigRecord(*found->second, record, size);
}

A4WAPI_EXPORT void sitecnfgClose(std::int32_t handle) {
  openSites().byHandle.erase(handle);
}

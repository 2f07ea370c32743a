#include "standin/sample/SiteFolder.h"

namespace erp {

std::filesystem::path sharedDataOf(const std::filesystem::path& siteDir) {
  const std::filesystem::path sharedData = siteDir / "SharedData";
  return std::filesystem::is_directory(sharedData) ? sharedData : siteDir;
}

}  // namespace erp

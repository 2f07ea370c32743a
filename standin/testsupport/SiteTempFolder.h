#pragma once

#include "platform/tests/testsupport/TempFolder.h"
#include "standin/catalog/ViewCatalog.h"
#include "standin/site/SiteDatabase.h"
#include "standin/site/SiteLayout.h"

#include <filesystem>
#include <string>
#include <vector>

namespace erp {

/// A site with an empty site database in a fresh temporary folder, removed afterwards.
class TempSite {
 public:
  TempSite() : layout_(folder_.path()) { SiteDatabase::create(layout_); }

  const SiteLayout& layout() const { return layout_; }
  const std::filesystem::path& folder() const { return layout_.sharedData(); }

 private:
  platform::testing::TempFolder folder_{"ordavel-site-"};
  SiteLayout layout_;
};

/// A small catalog with the two options views the program reads and one ordinary view.
inline std::vector<ViewDef> optionTestViews() {
  auto numberedFields = [](int count, int flagNumber) {
    std::vector<FieldDef> fields;
    for (int n = 1; n <= count; ++n) {
      FieldDef field{n, "F" + std::to_string(n), "Field " + std::to_string(n), FieldType::Text, 10};
      if (n == flagNumber) {
        field.type = FieldType::Boolean;
        field.size = 2;
      }
      fields.push_back(field);
    }
    return fields;
  };
  ViewDef arOptions{"AR0001", "A/R Options", numberedFields(8, 6), {}, {}, true};
  ViewDef icOptions{"IC0380", "I/C Options", numberedFields(30, 25), {}, {}, true};
  arOptions.fields[1] = {2, "RATE", "Rate", FieldType::Decimal, 8};
  ViewDef authorities{"TX0002", "Tax Authorities", numberedFields(3, 0), {{"KEY", {1}}}, {}, false};
  return {arOptions, icOptions, authorities};
}

}  // namespace erp

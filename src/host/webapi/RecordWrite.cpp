#include "host/webapi/RecordWrite.h"

#include "host/HostError.h"
#include "host/webapi/WebApiFailure.h"

#include <algorithm>

namespace host::webapi {
namespace {

constexpr std::int32_t kSaveError = static_cast<std::int32_t>(0x80041102u);

std::vector<int> TaxFields(const ViewLayout& layout) {
  std::vector<int> fields;
  for (const FieldLayout& field : layout.fields) {
    if (field.TaxField()) fields.push_back(field.info.index);
  }
  return fields;
}

bool SameRows(std::vector<FieldValues> a, std::vector<FieldValues> b) {
  if (a.size() != b.size()) return false;
  auto order = [](const FieldValues& x, const FieldValues& y) { return CompareValues(x, y) < 0; };
  std::sort(a.begin(), a.end(), order);
  std::sort(b.begin(), b.end(), order);
  for (size_t row = 0; row < a.size(); ++row) {
    for (size_t field = 0; field < a[row].size(); ++field) {
      if (!SameValue(a[row][field], b[row][field])) return false;
    }
  }
  return true;
}

HostError SaveFailure(const std::string& text) {
  return HostError(kSaveError, text, "ERP.WebAPI");
}

HostError ChangedMeanwhile(const RecordWrite& write) {
  return SaveFailure(write.recordText +
                     " was changed by another user while it was being saved: it does not hold "
                     "what this run saved. Check the record.");
}

}  // namespace

std::optional<RecordValues> ReadTaxData(WebApiCompany& company, const EntityMap& map,
                                        const FieldValues& key) {
  FeedQuery query;
  for (int field : map.layout->keys.front().fields) query.select.push_back(map.Property(field));
  for (int field : TaxFields(*map.layout)) query.select.push_back(map.Property(field));
  for (const RowsMap& rows : map.details) query.select.push_back(rows.collection);
  try {
    const nlohmann::json answer = company.Client().Get(map.module, RecordResource(map, key), query);
    return RecordOf(map, EntityOf(answer));
  } catch (const WebApiFailure& failure) {
    if (failure.Status() == 404) return std::nullopt;
    throw;
  }
}

bool SameTaxData(const EntityMap& map, const RecordValues& a, const RecordValues& b) {
  for (int field : TaxFields(*map.layout)) {
    const auto index = static_cast<size_t>(field - 1);
    if (!SameValue(a.fields[index], b.fields[index])) return false;
  }
  for (size_t collection = 0; collection < map.details.size(); ++collection) {
    if (!SameRows(a.rows[collection], b.rows[collection])) return false;
  }
  return true;
}

void SaveRecord(WebApiCompany& company, const RecordWrite& write) {
  const EntityMap& map = *write.map;
  const std::string resource = RecordResource(map, write.key);
  for (int attempt = 1;; ++attempt) {
    try {
      company.Client().Patch(map.module, resource, write.body);
      break;
    } catch (const WebApiFailure& failure) {
      if (failure.NothingDone()) {
        throw SaveFailure(write.recordText + " was not saved: " + failure.what());
      }
      // Without a clear answer only the record tells whether the change was saved.
      const std::optional<RecordValues> now = ReadTaxData(company, map, write.key);
      if (now && SameTaxData(map, *now, write.after)) return;
      if (!now || !SameTaxData(map, *now, write.before)) throw ChangedMeanwhile(write);
      if (attempt >= 2) throw SaveFailure(write.recordText + " was not saved: " + failure.what());
    }
  }
  const std::optional<RecordValues> now = ReadTaxData(company, map, write.key);
  if (!now || !SameTaxData(map, *now, write.after)) throw ChangedMeanwhile(write);
}

}  // namespace host::webapi

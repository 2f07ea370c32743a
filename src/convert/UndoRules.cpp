#include "convert/UndoRules.h"

#include <algorithm>

namespace convert {
namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::string LineOf(const RecordChange& record) {
  return "line " + std::to_string(record.line);
}

}  // namespace

void CheckTab(const RecordChange& record, const std::string& tab) {
  if (record.kind->tab == tab) return;
  throw ChangeFileError(LineOf(record) + " names " + record.kind->logName + ", a kind of tab " +
                        record.kind->tab + ", in a file of tab " + tab + ".");
}

const UndoRules::KindFields& UndoRules::FieldsOf(const KindDef& kind) {
  auto known = kinds_.find(&kind);
  if (known != kinds_.end()) return known->second;
  KindFields fields;
  host::DataSource& header = controls_.Source(kind.headerSource);
  if (kind.type == ConversionType::TaxGroup) {
    fields.header.push_back(header.Fields(static_cast<int>(kind.lTaxGroupIDX)).Name());
    for (int n = 1; !kind.taxClassFieldPrefix.empty() && n <= 5; ++n) {
      fields.header.push_back(kind.taxClassFieldPrefix + std::to_string(n));
    }
  } else {
    host::DataSource& detail = controls_.Source(kind.detailSource);
    const std::vector<int>& key = detail.Keys().front().fields;
    for (int n = 1; n <= detail.FieldCount(); ++n) {
      if (std::find(key.begin(), key.end(), n) == key.end()) {
        fields.detail.push_back(detail.Fields(n).Name());
      }
    }
    for (const auto* positions : {&kind.classFieldIDX, &kind.taxIncludedFieldIDX}) {
      for (std::int32_t n : *positions) {
        const std::string name = detail.Fields(static_cast<int>(n)).Name();
        if (!Contains(fields.putBack, name)) fields.putBack.push_back(name);
      }
    }
  }
  return kinds_.emplace(&kind, std::move(fields)).first->second;
}

void UndoRules::Check(const RecordChange& record) {
  CheckTab(record, tab_);
  const KindFields& fields = FieldsOf(*record.kind);
  auto refuse = [&](const std::string& field) {
    throw ChangeFileError(LineOf(record) + " names " + field + ", which no conversion of " +
                          record.kind->logName + " changes.");
  };
  for (const FieldChange& field : record.fields) {
    if (!Contains(fields.header, field.field)) refuse(field.field);
  }
  for (const RowChange& row : record.rows) {
    if (record.kind->detailSource.empty()) refuse(DetailField(row.authority, kRowField));
    for (const FieldChange& field : row.fields) {
      if (!Contains(fields.detail, field.field)) refuse(DetailField(row.authority, field.field));
    }
  }
}

std::string UndoRules::Incomplete(const RecordChange& record) {
  const KindFields& fields = FieldsOf(*record.kind);
  std::vector<std::string> missing = record.repeated;
  for (const std::string& name : fields.header) {
    const bool given = std::any_of(record.fields.begin(), record.fields.end(),
                                   [&](const FieldChange& field) { return field.field == name; });
    if (!given) missing.push_back(name);
  }
  for (const RowChange& row : record.rows) {
    if (!row.told) missing.push_back(DetailField(row.authority, kRowField));
    for (const std::string& name : fields.detail) {
      const bool given = std::any_of(row.fields.begin(), row.fields.end(),
                                     [&](const FieldChange& field) { return field.field == name; });
      if (!given) missing.push_back(DetailField(row.authority, name));
    }
  }
  if (record.fields.empty() && record.rows.empty()) return "It has no fields.";
  if (missing.empty()) return "";
  std::string text = "Its rows are incomplete: ";
  for (size_t i = 0; i < missing.size(); ++i) text += (i > 0 ? ", " : "") + missing[i];
  return text + ".";
}

bool UndoRules::PutsBack(const KindDef& kind, const std::string& field) {
  return Contains(FieldsOf(kind).putBack, field);
}

const std::vector<std::string>& UndoRules::HeaderFields(const KindDef& kind) {
  return FieldsOf(kind).header;
}

}  // namespace convert

#pragma once

#include "convert/KindTable.h"
#include "convert/changes/ChangeFile.h"

#include <string>
#include <vector>

namespace convert {

/// The field name of a detail row's own row in a change file ("HST: row"), and its values.
inline constexpr const char* kRowField = "row";
inline constexpr const char* kPresent = "present";
inline constexpr const char* kAbsent = "absent";

/// The change file's name of a detail row's field: the authority, ": " and the field's name.
inline std::string DetailField(const std::string& authority, const std::string& field) {
  return authority + ": " + field;
}

/// A field of a record with its values before and after, as a change file gives them.
struct FieldChange {
  std::string field;
  std::string before;
  std::string after;
};

/// A detail row of one authority, as a change file tells it.
struct RowChange {
  std::string authority;
  bool presentBefore = false;
  bool presentAfter = false;
  std::vector<FieldChange> fields;
};

/// A converted record of a change file: its header fields and its detail rows.
struct RecordChange {
  const KindDef* kind = nullptr;
  std::string key;
  std::vector<FieldChange> fields;
  std::vector<RowChange> rows;
};

/// The converted records of a change file, in file order, with the kinds they belong to; raises
/// ChangeFileError for a row of a kind the program does not know.
std::vector<RecordChange> ConvertedRecords(const ChangeFileContents& contents);

/// Every way to cut a record key into the values of `parts` key fields at its "-" joints: the
/// conversion log joins a key's fields with "-", which a field's own value may also hold.
std::vector<std::vector<std::string>> KeySplits(const std::string& key, int parts);

}  // namespace convert

#pragma once

#include "convert/KindTable.h"
#include "convert/changes/ChangeFileReader.h"

#include <cstddef>
#include <optional>
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
  /// Whether the file has the row's own row ("HST: row"), and what it says.
  bool told = false;
  bool presentBefore = false;
  bool presentAfter = false;
  std::vector<FieldChange> fields;
};

/// A record of a change file: the rows of one kind and key with one outcome, one after another.
struct RecordChange {
  const KindDef* kind = nullptr;
  std::string key;
  std::string outcome;
  std::size_t line = 0;  ///< the line of its first row
  std::vector<FieldChange> fields;
  std::vector<RowChange> rows;
  /// Fields the file names more than once for the record.
  std::vector<std::string> repeated;

  /// Whether the run saved the record's values after.
  bool Converted() const;
};

/// Gathers the rows a change file reader gives into records, one record at a time, so that
/// memory stays flat in the file's size. Raises ChangeFileError for a row of a kind the program
/// does not know, and whatever the reader raises.
class ChangedRecords {
 public:
  explicit ChangedRecords(ChangeFileReader& reader) : reader_(reader) {}
  /// The next record; nothing after the last.
  std::optional<RecordChange> Next();

 private:
  ChangeFileReader& reader_;
  std::optional<ChangeRow> pending_;
  std::size_t pendingLine_ = 0;
};

/// Every way to cut a record key into the values of `parts` key fields at its "-" joints: the
/// conversion log joins a key's fields with "-", which a field's own value may also hold.
std::vector<std::vector<std::string>> KeySplits(const std::string& key, int parts);

}  // namespace convert

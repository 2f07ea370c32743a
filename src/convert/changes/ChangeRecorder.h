#pragma once

#include "convert/changes/ChangeFileWriter.h"

#include <string>
#include <vector>

namespace convert {

/// What became of one record, as its change rows tell it.
enum class RecordOutcome {
  Converted,  ///< saved with its new values
  Skipped,    ///< left as it was, for the reason given
  Failed,     ///< the ERP refused it; its message is given
  Unchanged,  ///< its values already were the new ones: nothing to save
};

/// The outcome column of a record's rows: "converted", "skipped: <why>", "failed: <message>",
/// "unchanged"; in a preview "would convert", "would skip: <why>", "would fail: <message>",
/// "would leave unchanged".
std::string OutcomeText(RecordOutcome outcome, const std::string& detail, bool preview);

/// Collects the fields of the record being converted, with their values before and after, and
/// turns each ended record into change rows, one per field (one row without a field when the
/// record had none). A field given twice keeps its first value before and its last value after,
/// so a detail row deleted and inserted again in one record shows what it held and what it holds.
class ChangeRecorder {
 public:
  ChangeRecorder(ChangeFileWriter& writer, bool preview) : writer_(writer), preview_(preview) {}

  /// Whether the run saves nothing and only says what it would do.
  bool Preview() const { return preview_; }
  /// The kind the next records belong to.
  void StartKind(const std::string& kind) { kind_ = kind; }
  /// Starts a record with the key the conversion log gives it.
  void BeginRecord(const std::string& key);
  /// A field of the record with its value before the run changes it.
  void Before(const std::string& field, const std::string& value);
  /// The value the field holds after the change.
  void After(const std::string& field, const std::string& value);
  /// Ends the record. Only a converted record keeps its values after: any other still holds its
  /// values before.
  void EndRecord(RecordOutcome outcome, const std::string& detail = "");
  /// Turns the converted records among those ended since the last flush into failed ones, with
  /// their values before: their changes were undone after all.
  void FailHeld(const std::string& why);
  /// The rows of the records ended since the last flush, as the change file will hold them.
  const std::string& HeldRows() const { return ended_; }
  /// The change file the rows go to.
  const ChangeFileWriter& Writer() const { return writer_; }
  /// Writes the rows of the records ended since the last flush, in one write.
  void Flush();
  /// Flushes and closes the change file with the row that says the run finished.
  void Finish();

 private:
  struct FieldValues {
    std::string field;
    std::string before;
    std::string after;
  };

  ChangeFileWriter& writer_;
  bool preview_;
  std::string kind_;
  std::string key_;
  std::vector<FieldValues> fields_;
  /// The rows of the records ended since the last flush, signed as the change file will hold them.
  std::string ended_;
  long endedRows_ = 0;
  /// The digest of the last row in `ended_`, or the writer's when there is none.
  std::string head_;
};

}  // namespace convert

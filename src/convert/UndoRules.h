#pragma once

#include "convert/ChangedRecords.h"
#include "convert/KindControls.h"

#include <map>
#include <string>
#include <vector>

namespace convert {

/// What a conversion of each kind changes, so that an undo puts back nothing else: the tax
/// group and the tax classes of a header record; the per-authority detail rows, of which it puts
/// only the class and tax-included fields. A conversion writes every one of those fields for
/// every record it saves, so a record that lacks one cannot be put back whole.
class UndoRules {
 public:
  /// Rules for the kinds of `tab`, whose field names `controls` give.
  UndoRules(KindControls& controls, std::string tab) : controls_(controls), tab_(std::move(tab)) {}

  /// Raises ChangeFileError when `record` is of a kind of another tab or names a field that no
  /// conversion of its kind writes.
  void Check(const RecordChange& record);
  /// What `record` lacks of the fields a conversion of its kind writes, or names more than once;
  /// empty when it is whole.
  std::string Incomplete(const RecordChange& record);
  /// Whether an undo puts the detail field `field` of a row of `kind` back.
  bool PutsBack(const KindDef& kind, const std::string& field);
  /// The header fields of a tax-group kind in the order they are put: the tax group first, as
  /// the classes are verified against it.
  const std::vector<std::string>& HeaderFields(const KindDef& kind);

 private:
  struct KindFields {
    std::vector<std::string> header;
    std::vector<std::string> detail;  ///< every field of a row that is not its key
    std::vector<std::string> putBack;
  };

  const KindFields& FieldsOf(const KindDef& kind);

  KindControls& controls_;
  std::string tab_;
  std::map<const KindDef*, KindFields> kinds_;
};

/// Raises ChangeFileError when `record` is of a kind that is not on `tab`.
void CheckTab(const RecordChange& record, const std::string& tab);

}  // namespace convert

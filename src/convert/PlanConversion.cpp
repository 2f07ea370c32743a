#include "convert/ClassNumber.h"
#include "convert/ConversionEngine.h"
#include "convert/RecordTexts.h"
#include "platform/Text.h"

#include <cctype>
#include <set>

namespace convert {
namespace {

using grids::TaxAuthorityGrid;

std::string JoinedClasses(const std::vector<std::string>& classes) {
  std::string text;
  for (const std::string& taxClass : classes) text += (text.empty() ? "" : ",") + taxClass;
  return text;
}

/// Fills the grid's class cells with `classes`, one per authority row.
void PutClassCells(grids::TaxGroupGrid& grid, const std::vector<std::string>& classes) {
  const int column = grid.AuthorityColumn() + 1;
  for (int row = 0; row < grid.Grid()->RowsCount(); ++row) {
    const size_t n = static_cast<size_t>(row);
    grid.Grid()->SetCellData(column, row, n < classes.size() ? classes[n] : "");
  }
}

/// The detail fields of the grid's to-class columns, each once (a sales and a purchases class).
std::vector<int> ClassFieldsOf(TaxAuthorityGrid& grid) {
  std::set<int> seen;
  std::vector<int> fields;
  for (const auto& [column, field] : grid.TaxClassFieldsTo()) {
    if (seen.insert(field.IDX).second) fields.push_back(field.IDX);
  }
  return fields;
}

/// The class `replacement` maps `text` to; nothing when it maps no such class.
std::optional<std::string> MappedClass(const AuthorityReplacement& replacement,
                                       const std::string& text) {
  const std::int16_t number = ClassNumber(text);
  for (const auto& [from, to] : replacement.classes) {
    if (ClassNumber(from) == number) return to;
  }
  return std::nullopt;
}

std::string RuleText(TaxIncludedRule rule) {
  switch (rule) {
    case TaxIncludedRule::Yes:
      return "tax included Yes";
    case TaxIncludedRule::No:
      return "tax included No";
    case TaxIncludedRule::Keep:
      break;
  }
  return "tax included kept";
}

}  // namespace

void ConversionEngine::LogClassMaps() {
  Write("Class Maps");
  for (const ClassMap& map : *classMaps_) {
    Write("\t[" + JoinedClasses(map.from) + "] -> [" + JoinedClasses(map.to) + "]");
  }
  Write("");
}

void ConversionEngine::LogReplacements() {
  for (const AuthorityReplacement& replacement : *replacements_) {
    std::string classes;
    for (const auto& [from, to] : replacement.classes) {
      classes += (classes.empty() ? "" : ", ") + from + " -> " + to;
    }
    Write("Replace [" + replacement.from.text + "] by [" + replacement.to.text + "], classes " +
          classes + ", " + RuleText(replacement.taxIncluded));
  }
  Write("");
}

const ClassMap* ConversionEngine::MatchClassMap(grids::TaxGroupGrid& from,
                                                grids::TaxGroupGrid& to) {
  for (const ClassMap& map : *classMaps_) {
    if (mapInGrids_ != &map) {
      PutClassCells(from, map.from);
      PutClassCells(to, map.to);
      mapInGrids_ = &map;
    }
    if (from.TaxClassesMatch()) return &map;
  }
  return nullptr;
}

std::string ConversionEngine::RecordClasses(grids::TaxGroupGrid& from) {
  std::vector<std::string> classes;
  for (int n = 1; n <= grids::TaxGroupGrid::kAuthorities; ++n) {
    classes.push_back(platform::Trim(
        from.adsHeader()->Fields(from.TaxClassFieldPrefix() + std::to_string(n)).Text(), " "));
  }
  // Trailing zero classes belong to no authority of the group.
  while (!classes.empty() && (classes.back().empty() || classes.back() == "0")) {
    classes.pop_back();
  }
  return JoinedClasses(classes);
}

bool ConversionEngine::ReadRow(TaxAuthorityGrid& grid, const std::string& authority) {
  host::DataSource& detail = *grid.adsDetail();
  detail.ClearRecord();
  detail.Fields(static_cast<int>(grid.lAuhorityIDX())).PutWithoutVerification(authority);
  return detail.Read();
}

bool ConversionEngine::HasReplacedAuthority(TaxAuthorityGrid& grid) {
  for (const AuthorityReplacement& replacement : *replacements_) {
    if (ReadRow(grid, replacement.from.text)) return true;
  }
  return false;
}

std::optional<std::string> ConversionEngine::ReplacementProblem(TaxAuthorityGrid& grid) {
  host::DataSource& detail = *grid.adsDetail();
  for (const AuthorityReplacement& replacement : *replacements_) {
    if (!ReadRow(grid, replacement.from.text)) continue;
    for (int field : ClassFieldsOf(grid)) {
      const std::string taxClass = platform::Trim(detail.Fields(field).Text(), " ");
      if (!MappedClass(replacement, taxClass)) {
        return replacement.from.text + " class " + taxClass + " is not mapped";
      }
    }
    if (ReadRow(grid, replacement.to.text)) {
      return "it already has a row for " + replacement.to.text;
    }
  }
  return std::nullopt;
}

void ConversionEngine::SkipReplacedRecord(TaxAuthorityGrid& grid, const std::string& problem,
                                          bool& lineWritten) {
  std::string sentence = problem;
  sentence.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence.front())));
  LogOperation(grid,
               grid.adsHeader()->Description() + " " + GetRecordKey(*grid.adsHeader()) +
                   " skipped. " + sentence + ".",
               lineWritten);
  grid.lSkipped(grid.lSkipped() + 1);
  EndChanges(nullptr, RecordOutcome::Skipped, problem);
}

void ConversionEngine::ApplyReplacement(TaxAuthorityGrid& grid,
                                        const AuthorityReplacement& replacement, bool& lineWritten,
                                        std::vector<host::RecordProbe>& rows) {
  host::DataSource& detail = *grid.adsDetail();
  if (!ReadRow(grid, replacement.from.text)) return;
  // The new row's values come from the old one before that is deleted.
  std::vector<std::pair<int, std::string>> classes;
  for (int field : ClassFieldsOf(grid)) {
    classes.emplace_back(field, *MappedClass(replacement, detail.Fields(field).Text()));
  }
  std::vector<std::pair<int, std::int64_t>> included;
  for (const auto& [column, field] : grid.TaxIncludedFields()) {
    std::int64_t value = host::VariantInteger(detail.Fields(field.IDX).Value()) != 0 ? 1 : 0;
    if (replacement.taxIncluded != TaxIncludedRule::Keep) {
      value = replacement.taxIncluded == TaxIncludedRule::Yes ? 1 : 0;
    }
    included.emplace_back(field.IDX, value);
  }
  DeleteRow(grid, replacement.from.text, lineWritten, rows);
  InsertRow(
      grid, replacement.to.text,
      [&] {
        for (const auto& [field, taxClass] : classes) {
          detail.Fields(field).PutWithVerification(taxClass);
        }
        for (const auto& [field, value] : included) {
          detail.Fields(field).PutWithVerification(value);
        }
      },
      lineWritten, rows);
}

}  // namespace convert

#include "batch/JobWriter.h"

#include "batch/JobSections.h"
#include "convert/KindTable.h"

#include <algorithm>
#include <stdexcept>

namespace batch {
namespace {

bool Blank(char c) {
  return c == ' ' || c == '\t';
}

bool Quote(char c) {
  return c == '"' || c == '\'';
}

std::string JoinedCells(const std::vector<std::string>& cells) {
  std::string text;
  for (std::size_t i = 0; i < cells.size(); ++i) text += (i == 0 ? "" : ",") + cells[i];
  return text;
}

void WriteKind(std::ostream& out, const JobSection& section, const Job& job) {
  const auto found = job.kinds.find(section.name);
  const KindChoice empty;
  const KindChoice& choice = found == job.kinds.end() ? empty : found->second;
  out << "Checked=" << (choice.checked ? "Yes" : "No") << "\n";
  for (const std::string& key : RangeKeys(*section.kind)) {
    const auto range = choice.ranges.find(key);
    if (range != choice.ranges.end()) out << key << '=' << JobValueText(range->second.text) << "\n";
  }
  if (!choice.criteria.text.empty()) {
    out << "Criteria=" << JobValueText(choice.criteria.text) << "\n";
  }
}

void WriteTaxGroup(std::ostream& out, const JobSection& section, const Job& job) {
  const auto found = job.taxGroups.find(section.name);
  if (found == job.taxGroups.end()) return;
  out << "TaxGroup=" << JobValueText(found->second.taxGroup.text) << "\n";
  const bool classes =
      std::find(section.keys.begin(), section.keys.end(), "Classes") != section.keys.end();
  if (classes && !found->second.classes.empty()) {
    out << "Classes=" << JoinedCells(found->second.classes) << "\n";
  }
}

void WriteOperations(std::ostream& out, const JobSection& section, const Job& job) {
  const auto found = job.operations.find(section.name);
  if (found == job.operations.end()) return;
  int number = 0;
  for (const OperationRow& row : found->second) {
    // The grid's new row at its end is no operation.
    if (row.cells.empty() || row.cells.front().empty()) continue;
    out << "Row" << ++number << '=' << JoinedCells(row.cells) << "\n";
  }
}

}  // namespace

std::string JobValueText(const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) {
    throw std::invalid_argument("The value \"" + value +
                                "\" spans several lines, which a job file cannot hold.");
  }
  if (value.empty()) return value;
  const bool quoted = Blank(value.front()) || Blank(value.back()) || Quote(value.front()) ||
                      Quote(value.back()) || value.find(';') != std::string::npos;
  return quoted ? '"' + value + '"' : value;
}

void WriteJob(std::ostream& out, const Job& job) {
  const std::string& tab = convert::RunTabs().at(static_cast<std::size_t>(job.tab));
  for (const JobSection& section : TabSections(tab)) {
    out << '[' << section.name << "]\n";
    switch (section.type) {
      case SectionType::Run:
        out << "Company=" << JobValueText(job.company) << "\nUser=" << JobValueText(job.user)
            << "\nTab=" << tab << "\n";
        if (job.recordsPerCommit > 0) out << "RecordsPerCommit=" << job.recordsPerCommit << "\n";
        if (!job.webApi.text.empty()) out << "WebApi=" << JobValueText(job.webApi.text) << "\n";
        if (!job.logFolder.text.empty()) {
          out << "LogFolder=" << JobValueText(job.logFolder.text) << "\n";
        }
        break;
      case SectionType::Kind:
        WriteKind(out, section, job);
        break;
      case SectionType::TaxGroup:
        WriteTaxGroup(out, section, job);
        break;
      case SectionType::Operations:
        WriteOperations(out, section, job);
        break;
    }
    out << "\n";
  }
}

}  // namespace batch

#include "convert/changes/ChangeFile.h"

#include "platform/LocalTime.h"

namespace convert {

const char* ChangeRunModeName(ChangeRunMode mode) {
  switch (mode) {
    case ChangeRunMode::Preview:
      return "Preview";
    case ChangeRunMode::Undo:
      return "Undo";
    case ChangeRunMode::Conversion:
      break;
  }
  return "Conversion";
}

std::string IsoLocalTime(std::chrono::system_clock::time_point when) {
  std::string offset = platform::FormatLocalTime(when, "%z");  // "+hhmm"
  if (offset.size() == 5) offset.insert(3, ":");
  return platform::FormatLocalTime(when, "%Y-%m-%dT%H:%M:%S") + offset;
}

std::string ChangeFileName(std::chrono::system_clock::time_point started, const std::string& tab,
                           ChangeRunMode mode) {
  std::string run = ChangeRunModeName(mode);
  run[0] = static_cast<char>(run[0] - 'A' + 'a');
  return platform::FormatLocalTime(started, "%Y%m%d_%H%M%S") + "_" + tab + "_" + run +
         "_changes.csv";
}

bool IsChangeFileName(const std::string& name) {
  return name.ends_with("_changes.csv");
}

std::string ChangeHeaderText(const ChangeFileHeader& header) {
  std::string text = CsvLine({kChangeFileSignature, header.build});
  text += CsvLine({"Company", header.company});
  text += CsvLine({"User", header.user});
  text += CsvLine({"Job", header.job});
  text += CsvLine({"Started", header.started});
  text += CsvLine({"Tab", header.tab});
  text += CsvLine({"Run", ChangeRunModeName(header.mode)});
  text += CsvLine({"Undoes", header.undoes});
  return text + CsvLine({"Kind", "Record key", "Field", "Before", "After", "Outcome", "Digest"});
}

std::string NotFinishedRow() {
  return CsvLine({kEndOfRun, "", "", "", "", kRunNotFinished});
}

void AppendSignedRow(std::string& lines, const ChangeDigest& digest, std::string& head,
                     const ChangeRow& row) {
  const std::size_t start = lines.size();
  AppendCsvLine(lines, {&row.kind, &row.key, &row.field, &row.before, &row.after, &row.outcome});
  head = digest.Next(head, std::string_view(lines).substr(start));
  lines.insert(lines.size() - 2, "," + head);
}

}  // namespace convert

#include "convert/changes/ChangeFile.h"

#include <ctime>

namespace convert {
namespace {

constexpr const char* kSignature = "Ordavel change file";

std::string formatted(std::chrono::system_clock::time_point when, const char* format) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

const char* modeName(ChangeRunMode mode) {
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

}  // namespace

std::string IsoLocalTime(std::chrono::system_clock::time_point when) {
  std::string offset = formatted(when, "%z");  // "+hhmm"
  if (offset.size() == 5) offset.insert(3, ":");
  return formatted(when, "%Y-%m-%dT%H:%M:%S") + offset;
}

std::string ChangeFileName(std::chrono::system_clock::time_point started, const std::string& tab,
                           ChangeRunMode mode) {
  std::string run = modeName(mode);
  run[0] = static_cast<char>(run[0] - 'A' + 'a');
  return formatted(started, "%Y%m%d_%H%M%S") + "_" + tab + "_" + run + "_changes.csv";
}

bool IsChangeFileName(const std::string& name) {
  return name.ends_with("_changes.csv");
}

std::string ChangeHeaderText(const ChangeFileHeader& header) {
  std::string text = CsvLine({kSignature, header.build});
  text += CsvLine({"Company", header.company});
  text += CsvLine({"User", header.user});
  text += CsvLine({"Job", header.job});
  text += CsvLine({"Started", header.started});
  text += CsvLine({"Tab", header.tab});
  text += CsvLine({"Run", modeName(header.mode)});
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

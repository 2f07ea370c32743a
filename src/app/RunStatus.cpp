#include "app/RunStatus.h"

namespace app {
namespace {

std::string KindCountsText(const convert::KindResult& kind, bool preview) {
  const convert::KindCounts& n = kind.outcome.counts;
  std::string text = kind.description + ": " + std::to_string(n.records) + " to convert, " +
                     std::to_string(n.updated) + (preview ? " would convert, " : " converted, ") +
                     std::to_string(n.skipped) + (preview ? " would skip, " : " skipped, ") +
                     std::to_string(n.failed) + (preview ? " would fail" : " failed");
  if (kind.outcome.endedByError) text += ", ended by an error";
  if (kind.outcome.cancelled) text += ", canceled";
  return text;
}

}  // namespace

std::vector<std::string> StatusParts(const std::string& company, const std::string& user,
                                     const convert::ConversionResult* lastRun, bool preview,
                                     const std::string& logFolder) {
  std::vector<std::string> parts = {"Company " + company + ", user " + user};
  if (!lastRun || lastRun->end == convert::RunEnd::NotRun) return parts;
  std::string counts = preview ? "Last preview: " : "Last run: ";
  if (lastRun->kinds.empty()) counts += "no kind ran";
  for (std::size_t i = 0; i < lastRun->kinds.size(); ++i) {
    counts += (i == 0 ? "" : "; ") + KindCountsText(lastRun->kinds[i], preview);
  }
  parts.push_back(counts);
  parts.push_back("Log folder: " + logFolder);
  parts.push_back("Change file: " +
                  (lastRun->changeFile.empty() ? "none" : lastRun->changeFile.string()));
  return parts;
}

std::string StatusLines(const std::vector<std::string>& parts, const std::string& logFolder) {
  if (parts.size() < 4) return (parts.empty() ? "" : parts[0]) + "\nNo run yet.";
  std::string changeFile = parts[3];
  const std::string inLogFolder = "Change file: " + logFolder + "/";
  if (changeFile.starts_with(inLogFolder)) {
    changeFile = "Change file: " + changeFile.substr(inLogFolder.size());
  }
  return parts[0] + "  |  " + parts[1] + "\n" + parts[2] + "  |  " + changeFile;
}

}  // namespace app

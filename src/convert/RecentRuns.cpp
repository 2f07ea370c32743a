#include "convert/RecentRuns.h"

#include "convert/changes/ChangeFileReader.h"

#include <algorithm>
#include <set>

namespace convert {
namespace {

/// "converted", "skipped", "would fail", ...: the outcome without its reason.
std::string OutcomeWord(const std::string& outcome) {
  return outcome.substr(0, outcome.find(':'));
}

RunRecord ReadRun(const std::filesystem::path& file) {
  RunRecord run;
  run.changeFile = file;
  std::error_code ignored;
  run.written = std::filesystem::last_write_time(file, ignored);
  try {
    ChangeFileReader reader(file);
    run.header = reader.Header();
    // A record has one row per field it touched; it counts once.
    std::set<std::pair<std::string, std::string>> seen;
    while (const std::optional<ChangeRow> row = reader.Next()) {
      if (seen.insert({row->kind, row->key}).second) {
        ++run.outcomes[row->kind][OutcomeWord(row->outcome)];
      }
    }
    run.finished = reader.Finished();
  } catch (const std::exception& error) {
    run.problem = error.what();
  }
  return run;
}

}  // namespace

std::string RunRecord::What() const {
  return ChangeRunModeName(header.mode);
}

std::string RunRecord::Counts() const {
  std::string text;
  for (const auto& [kind, counts] : outcomes) {
    text += (text.empty() ? "" : "; ") + kind + ":";
    bool first = true;
    for (const auto& [outcome, records] : counts) {
      text += (first ? " " : ", ") + std::to_string(records) + " " + outcome;
      first = false;
    }
  }
  return text.empty() ? "no records" : text;
}

std::vector<std::filesystem::path> RunRecord::LogFiles(
    const std::filesystem::path& logFolder) const {
  std::vector<std::filesystem::path> logs;
  if (header.mode == ChangeRunMode::Preview || header.started.size() < 10) return logs;
  // The logs are kept per day, named by the local date the run started on.
  std::string day = header.started.substr(0, 10);
  day.erase(std::remove(day.begin(), day.end(), '-'), day.end());
  if (header.mode == ChangeRunMode::Undo) {
    logs.push_back(logFolder / (day + "_Undo.log"));
  } else {
    for (const auto& [kind, counts] : outcomes)
      logs.push_back(logFolder / (day + "_" + kind + ".log"));
  }
  return logs;
}

std::vector<RunRecord> RecentRuns(const std::filesystem::path& logFolder) {
  std::vector<RunRecord> runs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(logFolder, error)) {
    if (entry.is_regular_file() && IsChangeFileName(entry.path().filename().string())) {
      runs.push_back(ReadRun(entry.path()));
    }
  }
  // The names start with the second the run started; of two runs in one second the one whose
  // file was written last is the later.
  std::sort(runs.begin(), runs.end(), [](const RunRecord& a, const RunRecord& b) {
    const std::string first = a.changeFile.filename().string().substr(0, 15);
    const std::string second = b.changeFile.filename().string().substr(0, 15);
    return first != second ? first > second : a.written > b.written;
  });
  return runs;
}

}  // namespace convert

#include "batch/PlanRunFile.h"

#include "batch/UndoRun.h"
#include "convert/changes/ChangeDigest.h"
#include "platform/AtomicFile.h"

#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <sstream>

namespace batch {
namespace {

constexpr const char* kPlanRunHeading = "Ordavel plan run";
constexpr const char* kListHeading = "Change file,Digest";
/// Far more than any plan's list of change files: a larger file is not one Ordavel wrote.
constexpr std::uintmax_t kMaxPlanRunBytes = 1 << 20;

std::string FileDigest(const std::filesystem::path& file) {
  std::string content;
  if (!platform::ReadWholeFile(file, content)) return {};
  return convert::ChangeDigest("").Start(content);
}

std::string Stamp(std::chrono::system_clock::time_point when, const char* format) {
  const std::time_t time = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

/// The change files a plan-run file lists, each with its digest; nothing when the file is not
/// a whole plan-run file, which `out` is told.
std::optional<std::vector<std::pair<std::string, std::string>>> ListedFiles(const std::string& file,
                                                                            std::ostream& out) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error) ||
      std::filesystem::file_size(file, error) > kMaxPlanRunBytes) {
    out << file << " is not a plan-run file.\n";
    return std::nullopt;
  }
  std::string content;
  platform::ReadWholeFile(file, content);
  std::istringstream lines(content);
  std::string line;
  bool listing = false;
  bool first = true;
  std::vector<std::pair<std::string, std::string>> listed;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first && !line.starts_with(kPlanRunHeading)) break;
    first = false;
    if (!listing) {
      listing = line == kListHeading;
      continue;
    }
    const size_t comma = line.rfind(',');
    if (comma == std::string::npos || comma == 0 || line.size() - comma - 1 != 32 ||
        !std::filesystem::path(line.substr(0, comma)).is_absolute()) {
      out << file << " is not a whole plan-run file: \"" << line << "\" lists no change file.\n";
      return std::nullopt;
    }
    listed.emplace_back(line.substr(0, comma), line.substr(comma + 1));
  }
  if (!listing || listed.empty()) {
    out << file << " is not a plan-run file.\n";
    return std::nullopt;
  }
  return listed;
}

}  // namespace

std::filesystem::path WritePlanRunFile(const convert::Plan& plan,
                                       const std::vector<JobResult>& jobs) {
  std::filesystem::path folder;
  std::string list;
  for (const JobResult& job : jobs) {
    if (job.changeFile.empty()) continue;
    const std::filesystem::path file = std::filesystem::absolute(job.changeFile);
    if (folder.empty()) folder = file.parent_path();
    list += file.string() + "," + FileDigest(file) + "\r\n";
  }
  if (folder.empty()) return {};
  const auto now = std::chrono::system_clock::now();
  const std::string content =
      std::string(kPlanRunHeading) + "\r\nPlan," + std::filesystem::absolute(plan.file).string() +
      "\r\nTitle," + plan.title + "\r\nUser," + plan.user + "\r\nWritten," +
      Stamp(now, "%Y-%m-%dT%H:%M:%S") + "\r\n" + kListHeading + "\r\n" + list;
  const std::string stem = Stamp(now, "%Y%m%d_%H%M%S") + "_plan_run";
  for (int n = 1; n < 100; ++n) {
    const std::filesystem::path file =
        folder / (stem + (n == 1 ? "" : "_" + std::to_string(n)) + ".csv");
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(file, error))) continue;
    if (platform::WriteFileAtomically(file, content, platform::FileAccess::kOwnerOnly)) return file;
    return {};
  }
  return {};
}

bool IsPlanRunFile(const std::string& file) {
  std::string content;
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  if (std::filesystem::file_size(file, error) > kMaxPlanRunBytes) return false;
  return platform::ReadWholeFile(file, content) && content.starts_with(kPlanRunHeading);
}

ExitStatus UndoPlanRun(const std::string& planRunFile, Workstation& station, std::ostream& out) {
  const auto listed = ListedFiles(planRunFile, out);
  if (!listed) return kRefused;
  bool intact = true;
  for (const auto& [file, digest] : *listed) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
      out << file << " is missing.\n";
      intact = false;
    } else if (FileDigest(file) != digest) {
      out << file << " was changed after the plan ran.\n";
      intact = false;
    }
  }
  // Every file is opened and checked before the first is undone, so that a refusal changes
  // nothing of any company.
  std::vector<std::unique_ptr<convert::ChangeFileToUndo>> opened;
  for (const auto& [file, digest] : *listed) {
    if (!intact) break;
    opened.push_back(OpenChangeFile(file, "", out));
    intact = opened.back() != nullptr;
  }
  if (!intact) {
    out << "The plan run was not undone: nothing was changed.\n";
    return kRefused;
  }
  ExitStatus status = kComplete;
  for (auto file = opened.rbegin(); file != opened.rend(); ++file) {
    if (station.interrupts.Interrupted()) return Worst(status, kCancelled);
    const ExitStatus undone = UndoChanges(**file, station, out);
    status = Worst(status, undone);
    if (undone == kRefused || undone == kCancelled) break;
  }
  return status;
}

}  // namespace batch

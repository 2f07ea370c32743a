// Writes a change file of MB megabytes and reads it as `ordavel-batch --undo` does before it
// changes anything: the check before the sign-on, then the pass that proves every row's digest
// and gathers the records. Each read runs in a process of its own, whose peak memory is printed
// beside that of the same reads of a 1 MB file: the memory stays flat in the file's size.
//
//   undo_file_bench [MB]      (default 50)

#include "convert/ChangeUndo.h"
#include "convert/changes/ChangeFileWriter.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const convert::ChangeDigest kDigest("the company's key");

/// A converted customer's rows until the file holds `megabytes`; the number of rows.
long writeChangeFile(const std::filesystem::path& folder, long megabytes,
                     std::filesystem::path& file) {
  convert::ChangeFileWriter writer(
      folder, {"Build", "BENCH", "ADMIN", "", "", "AR", convert::ChangeRunMode::Conversion, ""},
      std::chrono::system_clock::now(), kDigest);
  long rows = 0;
  for (long customer = 0; writer.End() < megabytes * 1024 * 1024; ++customer) {
    const std::string key = "C" + std::to_string(1000000 + customer);
    std::vector<convert::ChangeRow> record = {
        {"AR_Customers", key, "CODETAXGRP", "ONGSTPST", "ONHST", "converted"}};
    for (int n = 1; n <= 5; ++n) {
      record.push_back({"AR_Customers", key, "TAXSTTS" + std::to_string(n), n <= 2 ? "1" : "0",
                        n == 1 ? "1" : "0", "converted"});
    }
    writer.Write(record);
    rows += static_cast<long>(record.size());
  }
  writer.Finish();
  file = writer.Path();
  return rows;
}

/// Reads `file` as the undo does in a child process; its peak memory in MB and the seconds.
std::pair<double, double> readAsUndo(const std::filesystem::path& file) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    convert::ChangeFileToUndo undo({.file = file});
    convert::ChangeFileReader reader(file);
    reader.Restart(&kDigest);
    convert::ChangedRecords records(reader);
    std::size_t converted = 0;
    while (std::optional<convert::RecordChange> record = records.Next()) converted++;
    ::_exit(converted == undo.ConvertedRecords() ? 0 : 1);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the file did not read back whole\n");
    std::exit(1);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return {static_cast<double>(usage.ru_maxrss) / 1024.0, seconds};
}

}  // namespace

int main(int argc, char** argv) {
  const long megabytes = argc > 1 ? std::atol(argv[1]) : 50;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ordavel-undo-bench-" + std::to_string(::getpid()));
  std::filesystem::path small;
  std::filesystem::path big;
  writeChangeFile(folder, 1, small);
  const long rows = writeChangeFile(folder, megabytes, big);
  const auto [smallPeak, smallSeconds] = readAsUndo(small);
  const auto [bigPeak, bigSeconds] = readAsUndo(big);
  std::printf(
      "undo's reading of a %ld MB change file (%ld rows): peak %.1f MB in %.2f s; of a 1 MB "
      "file: peak %.1f MB in %.2f s\n",
      megabytes, rows, bigPeak, bigSeconds, smallPeak, smallSeconds);
  std::filesystem::remove_all(folder);
  return 0;
}

// What the records per commit cost: converts N customers with the run's change file at several
// batch sizes, each in a process of its own, while another connection of this process takes the
// company's write lock every 20 ms as another user's save would. For each size it prints the
// rate, the peak memory of the converting process, the longest time between two commits (how
// long one batch holds the write lock), the longest the other connection waited for the lock,
// and how often it gave up after the database's busy timeout of 5 s ("database is locked").
// The lock has no queue: a waiting connection polls, so it can also miss many short gaps between
// batches, and its wait can be longer than any one batch.
//
//   batch_size_bench [N] [SIZE...]      (default 200000 customers; sizes 100 1000 10000 100000)

#include "bench/CustomerMapping.h"
#include "convert/ConversionEngine.h"
#include "convert/changes/ChangeDigest.h"
#include "convert/changes/ChangeFileWriter.h"
#include "convert/changes/ChangeRecorder.h"
#include "standin/site/SiteLayout.h"

#include <SQLiteCpp/Database.h>

#include <sys/resource.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

/// Notes the longest time from one commit to the next.
struct CommitWatch : convert::RunObserver {
  void BatchCommitted() override {
    longestBatch = std::max(longestBatch, seconds(batchStart));
    batchStart = Clock::now();
  }
  Clock::time_point batchStart;
  double longestBatch = 0;
};

/// One conversion of every customer of the site in `shared` with `recordsPerCommit`; prints the
/// records converted, the seconds, the peak kilobytes and the longest seconds between commits.
int convertInThisProcess(const std::filesystem::path& shared, int recordsPerCommit) {
  bench::CustomerRun run(shared);
  convert::RunState state;
  CommitWatch watch;
  convert::ConversionEngine engine(run.connection, state, watch);
  engine.SetRecordsPerCommit(recordsPerCommit);
  convert::ChangeFileHeader header;
  header.company = "BENCH";
  header.tab = "AR";
  const convert::ChangeDigest digest("a company's key");
  convert::ChangeFileWriter writer(run.connection.LogFolderOnDisk(), header,
                                   std::chrono::system_clock::now(), digest);
  convert::ChangeRecorder recorder(writer, false);
  engine.SetChangeRecorder(&recorder);

  const Clock::time_point start = Clock::now();
  watch.batchStart = start;
  run.Convert(engine, "(CODETAXGRP= \"ONGSTPST \")");
  recorder.Finish();
  const double elapsed = seconds(start);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%d %.6f %ld %.6f\n", run.to->taxGroupGrid->lUpdated(), elapsed, usage.ru_maxrss,
              watch.longestBatch);
  return 0;
}

/// What one batch size measured.
struct Measured {
  long records = 0;
  double seconds = 0;
  long peakKilobytes = 0;
  double longestBatch = 0;
  double longestWait = 0;
  long refused = 0;
};

/// Takes and gives back the company's write lock every 20 ms until `stop`, as another user's
/// saves would, and keeps the longest wait and the number of times the lock was refused. It
/// checkpoints nothing itself, so that only waiting for the lock is counted.
void otherUser(const std::filesystem::path& database, const std::atomic<bool>& stop,
               Measured& measured) {
  SQLite::Database db(database.string(), SQLite::OPEN_READWRITE);
  db.setBusyTimeout(5000);
  db.exec("PRAGMA wal_autocheckpoint=0");
  while (!stop.load()) {
    const Clock::time_point asked = Clock::now();
    try {
      db.exec("BEGIN IMMEDIATE");
      measured.longestWait = std::max(measured.longestWait, seconds(asked));
      db.exec("COMMIT");
    } catch (const SQLite::Exception&) {
      ++measured.refused;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

Measured convertInOwnProcess(const std::filesystem::path& shared, int recordsPerCommit) {
  const erp::SiteLayout layout(shared);
  std::filesystem::remove_all(layout.companyFolder("BENCH") / "Ordavel");
  {
    SQLite::Database db(layout.companyDatabase("BENCH").string(), SQLite::OPEN_READWRITE);
    db.exec("UPDATE AR0024 SET CODETAXGRP = 'ONGSTPST', TAXSTTS1 = 1, TAXSTTS2 = 1");
    db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
  }
  Measured measured;
  std::atomic<bool> stop{false};
  std::thread other(otherUser, layout.companyDatabase("BENCH"), std::cref(stop),
                    std::ref(measured));
  const std::string command = "'" + std::filesystem::canonical("/proc/self/exe").string() +
                              "' --convert '" + shared.string() + "' " +
                              std::to_string(recordsPerCommit);
  FILE* child = ::popen(command.c_str(), "r");
  const bool read = child != nullptr &&
                    std::fscanf(child, "%ld %lf %ld %lf", &measured.records, &measured.seconds,
                                &measured.peakKilobytes, &measured.longestBatch) == 4;
  const bool ended = child != nullptr && ::pclose(child) == 0;
  stop.store(true);
  other.join();
  if (!read || !ended) throw std::runtime_error("the conversion failed");
  return measured;
}

int measure(size_t count, std::vector<int> sizes) {
  if (sizes.empty()) sizes = {100, 1000, 10000, 100000};
  const auto site =
      std::filesystem::temp_directory_path() / ("ordavel-bench-" + std::to_string(::getpid()));
  const std::filesystem::path shared = bench::GenerateBenchSite(site, count);
  std::printf("%zu customers, with the change file, another user's save every 20 ms\n", count);
  std::printf(
      "records/commit   records/s   peak memory   longest batch   longest wait   refused\n");
  for (const int size : sizes) {
    const Measured m = convertInOwnProcess(shared, size);
    std::printf("%14d %11.0f %10ld kB %12.0f ms %11.0f ms %9ld\n", size,
                static_cast<double>(m.records) / m.seconds, m.peakKilobytes, m.longestBatch * 1000,
                m.longestWait * 1000, m.refused);
  }
  std::filesystem::remove_all(site);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::string(argv[1]) == "--convert") {
      return convertInThisProcess(argv[2], std::stoi(argv[3]));
    }
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::stoi(argv[i]));
    return measure(argc > 1 ? std::stoul(argv[1]) : 200000, sizes);
  } catch (const std::exception& error) {
    std::cerr << "batch_size_bench: " << error.what() << '\n';
    return 1;
  }
}

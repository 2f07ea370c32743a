// Converts N customers from ONGSTPST to ONHST through the whole program path (sign-on, data
// sources, mapping grids, conversion engine, conversion log) and, on the same database, measures
// the floor: one committed UPDATE by key per record, and one bulk UPDATE statement.
//
// Each conversion runs in a process of its own, so that its peak memory and its start-up (from
// the start of the process, sign-on included, to the first converted record) are its own: the
// default of 100 records per commit, one record per commit, and the default over the first
// 10,000 records for the memory it needs at that size. Rates are given per second of wall-clock
// time and per second of CPU time, each the best of three rounds, as the machine may be busy with
// other work.
//
//   conversion_bench [N]      (default 100000)

#include "bench/CustomerMapping.h"
#include "convert/ConversionEngine.h"
#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"

#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <sys/resource.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const Clock::time_point kProcessStart = Clock::now();

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

/// Wall-clock and CPU seconds of one measurement.
struct Timing {
  double wall = 0;
  double cpu = 0;
};

template <typename Action>
Timing timed(Action action) {
  const Clock::time_point start = Clock::now();
  const double cpuStart = cpuSeconds();
  action();
  return {seconds(start), cpuSeconds() - cpuStart};
}

/// Notes the moment the first record has been converted.
class FirstRecordWatch : public convert::RunObserver {
 public:
  explicit FirstRecordWatch(const grids::TaxGroupGrid& to) : to_(to) {}
  void LetEventsRun() override {
    if (!first_ && to_.lUpdated() > 0) first_ = seconds(kProcessStart);
  }
  double First() const { return first_.value_or(0); }

 private:
  const grids::TaxGroupGrid& to_;
  std::optional<double> first_;
};

/// One conversion in this process: signs on to the site in `shared`, converts the customers up
/// to `lastKey` (all when empty) with `recordsPerCommit`, and prints what it measured.
int convertInThisProcess(const std::filesystem::path& shared, int recordsPerCommit,
                         const std::string& lastKey) {
  bench::CustomerRun run(shared);
  host::AccpacConnection& connection = run.connection;
  const bench::Mapping& to = *run.to;

  convert::RunState state;
  FirstRecordWatch watch(*to.taxGroupGrid);
  convert::ConversionEngine engine(connection, state, watch);
  engine.SetRecordsPerCommit(recordsPerCommit);

  std::string filter = "(CODETAXGRP= \"ONGSTPST \")";
  if (!lastKey.empty()) filter = "(IDCUST<=\"" + lastKey + " \") AND " + filter;
  const Timing timing = timed([&] { run.Convert(engine, filter); });
  const std::int32_t converted = to.taxGroupGrid->lUpdated();
  if (converted != to.taxGroupGrid->lRecords() || connection.LostLogLines() != 0) {
    std::cerr << "converted " << converted << " of " << to.taxGroupGrid->lRecords() << ", "
              << connection.LostLogLines() << " log lines lost\n";
    return 1;
  }
  std::printf("%d %.6f %.6f %.6f %ld\n", converted, timing.wall, timing.cpu, watch.First(),
              peakKilobytes());
  return 0;
}

/// What a conversion in a process of its own measured.
struct Conversion {
  long records = 0;
  Timing timing;
  double firstRecord = 0;  ///< seconds from the start of the process to the first record
  long peakKilobytes = 0;
};

Conversion convertInOwnProcess(const std::filesystem::path& site, int recordsPerCommit,
                               const std::string& lastKey) {
  const std::string command = "'" + std::filesystem::canonical("/proc/self/exe").string() +
                              "' --convert '" + site.string() + "' " +
                              std::to_string(recordsPerCommit) + " '" + lastKey + "'";
  FILE* child = ::popen(command.c_str(), "r");
  Conversion result;
  if (child == nullptr ||
      std::fscanf(child, "%ld %lf %lf %lf %ld", &result.records, &result.timing.wall,
                  &result.timing.cpu, &result.firstRecord, &result.peakKilobytes) != 5 ||
      ::pclose(child) != 0) {
    throw std::runtime_error("the conversion with " + std::to_string(recordsPerCommit) +
                             " records per commit failed");
  }
  return result;
}

constexpr int kRounds = 3;

/// Keeps in `best` the shorter wall-clock and CPU times of `best` and `measured`.
void keepBest(Timing& best, const Timing& measured) {
  if (best.wall == 0 || measured.wall < best.wall) best.wall = measured.wall;
  if (best.cpu == 0 || measured.cpu < best.cpu) best.cpu = measured.cpu;
}

/// Keeps the best times, the earliest first record and the largest peak memory.
void keepBest(Conversion& best, const Conversion& measured) {
  keepBest(best.timing, measured.timing);
  best.records = measured.records;
  if (best.firstRecord == 0 || measured.firstRecord < best.firstRecord) {
    best.firstRecord = measured.firstRecord;
  }
  best.peakKilobytes = std::max(best.peakKilobytes, measured.peakKilobytes);
}

/// Puts every customer back on the old group, so each measurement converts the same records,
/// and removes the logs of the last run. What that wrote reaches the disk before the next
/// measurement starts, rather than during it.
void resetCustomers(const std::filesystem::path& database, const std::filesystem::path& logs) {
  {
    SQLite::Database db(database.string(), SQLite::OPEN_READWRITE);
    db.exec("UPDATE AR0024 SET CODETAXGRP = 'ONGSTPST', TAXSTTS1 = 1, TAXSTTS2 = 1");
  }
  std::filesystem::remove_all(logs);
  ::sync();
}

/// The floor: one committed UPDATE by key per customer.
Timing perKeyFloor(SQLite::Database& db) {
  std::vector<std::string> keys;
  {
    SQLite::Statement query(db, "SELECT IDCUST FROM AR0024 ORDER BY IDCUST");
    while (query.executeStep()) keys.push_back(query.getColumn(0).getString());
  }
  return timed([&] {
    SQLite::Statement update(db,
                             "UPDATE AR0024 SET CODETAXGRP = 'ONHST', TAXSTTS1 = 1, TAXSTTS2 = 0, "
                             "_rev = _rev + 1 WHERE IDCUST = ?");
    for (const std::string& key : keys) {
      update.bind(1, key);
      update.exec();
      update.reset();
    }
  });
}

Timing bulkFloor(SQLite::Database& db) {
  return timed([&] {
    db.exec(
        "UPDATE AR0024 SET CODETAXGRP = 'ONHST', TAXSTTS1 = 1, TAXSTTS2 = 0, _rev = _rev + 1 "
        "WHERE CODETAXGRP = 'ONGSTPST' AND TAXSTTS1 = 1 AND TAXSTTS2 = 1");
  });
}

std::string keyAt(SQLite::Database& db, size_t position) {
  SQLite::Statement query(db, "SELECT IDCUST FROM AR0024 ORDER BY IDCUST LIMIT 1 OFFSET ?");
  query.bind(1, static_cast<std::int64_t>(position - 1));
  return query.executeStep() ? query.getColumn(0).getString() : std::string();
}

int measure(size_t count) {
  const auto site =
      std::filesystem::temp_directory_path() / ("ordavel-bench-" + std::to_string(::getpid()));
  auto start = Clock::now();
  const std::filesystem::path shared = bench::GenerateBenchSite(site, count);
  const erp::SiteLayout layout(shared);
  std::printf("generated %zu customers in %.2f s\n", count, seconds(start));
  ::sync();
  const std::filesystem::path database = layout.companyDatabase("BENCH");
  const std::filesystem::path logs = layout.companyFolder("BENCH") / "Ordavel";

  const size_t small = std::min<size_t>(count, 10000);
  std::string smallLastKey;
  {
    SQLite::Database db(database.string(), SQLite::OPEN_READONLY);
    smallLastKey = keyAt(db, small);
  }
  // The machine may be busy with other work: each figure is the best of a few rounds.
  Conversion batched, single, smallRun;
  Timing perKey, bulk;
  for (int round = 0; round < kRounds; ++round) {
    keepBest(batched, convertInOwnProcess(shared, 100, ""));
    resetCustomers(database, logs);
    keepBest(single, convertInOwnProcess(shared, 1, ""));
    resetCustomers(database, logs);
    keepBest(smallRun, convertInOwnProcess(shared, 100, smallLastKey));
    resetCustomers(database, logs);
    SQLite::Database db(database.string(), SQLite::OPEN_READWRITE);
    // The floor's connection is configured as the stand-in configures its own.
    db.exec("PRAGMA synchronous=NORMAL");
    db.exec("PRAGMA wal_autocheckpoint=10000");
    keepBest(perKey, perKeyFloor(db));
    resetCustomers(database, logs);
    keepBest(bulk, bulkFloor(db));
    resetCustomers(database, logs);
  }

  // A label padded to one width, a rate of `count` records in `seconds` and the seconds.
  auto rate = [count](const char* label, double seconds, int decimals) {
    std::printf("%-32s %10.0f records/s  (%.*f s)\n", label, static_cast<double>(count) / seconds,
                decimals, seconds);
  };
  auto ratio = [](const char* label, double value, int decimals) {
    std::printf("%-32s %10.*f\n", label, decimals, value);
  };
  std::printf("records                          %zu  (best of %d rounds)\n", count, kRounds);
  rate("Ordavel (views, grids, log)", batched.timing.wall, 2);
  rate("Ordavel, 1 record per commit", single.timing.wall, 2);
  rate("floor: committed UPDATE per key", perKey.wall, 2);
  rate("floor: one bulk UPDATE", bulk.wall, 3);
  ratio("ratio Ordavel / per-key floor", batched.timing.wall / perKey.wall, 2);
  ratio("ratio 1 per commit / per-key", single.timing.wall / perKey.wall, 2);
  ratio("ratio Ordavel / bulk floor", batched.timing.wall / bulk.wall, 1);
  rate("CPU time: Ordavel", batched.timing.cpu, 2);
  rate("CPU time: 1 record per commit", single.timing.cpu, 2);
  rate("CPU time: per-key floor", perKey.cpu, 2);
  rate("CPU time: bulk floor", bulk.cpu, 3);
  ratio("CPU ratio Ordavel / per-key", batched.timing.cpu / perKey.cpu, 2);
  std::printf("peak memory, %7zu records      %10ld kB\n", small, smallRun.peakKilobytes);
  std::printf("peak memory, %7zu records      %10ld kB\n", count, batched.peakKilobytes);
  std::printf("start-up to first converted record %8.3f s  (1 per commit: %.3f s)\n",
              batched.firstRecord, single.firstRecord);
  std::filesystem::remove_all(site);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 5 && std::string(argv[1]) == "--convert") {
      return convertInThisProcess(argv[2], std::stoi(argv[3]), argv[4]);
    }
    return measure(argc > 1 ? std::stoul(argv[1]) : 100000);
  } catch (const std::exception& error) {
    std::cerr << "conversion_bench: " << error.what() << '\n';
    return 1;
  }
}

// Converts N customers from ONGSTPST to ONHST through the conversion engine with and without
// the run's change file, alternately on the same database, and prints both rates side by side.
//
//   change_file_bench [N] [ROUNDS]      (default 20000 customers, 3 rounds)

#include "bench/CustomerMapping.h"
#include "convert/ConversionEngine.h"
#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"

#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"

#include <SQLiteCpp/Database.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

/// Puts every customer back on the old group, so each measurement converts the same records.
void resetCustomers(const std::filesystem::path& database) {
  SQLite::Database db(database.string(), SQLite::OPEN_READWRITE);
  db.exec("UPDATE AR0024 SET CODETAXGRP = 'ONGSTPST', TAXSTTS1 = 1, TAXSTTS2 = 1");
}

int measure(size_t count, int rounds) {
  const auto site =
      std::filesystem::temp_directory_path() / ("ordavel-bench-" + std::to_string(::getpid()));
  const std::filesystem::path shared = bench::GenerateBenchSite(site, count);
  const erp::SiteLayout layout(shared);
  const std::filesystem::path database = layout.companyDatabase("BENCH");

  bench::CustomerRun run(shared);
  host::AccpacConnection& connection = run.connection;
  const bench::Mapping& to = *run.to;
  convert::RunState state;
  convert::RunObserver observer;
  convert::ConversionEngine engine(connection, state, observer);

  /// Records per second of wall-clock time and of the process's CPU time, which a shared,
  /// noisy machine disturbs less.
  struct Rates {
    double wall;
    double cpu;
  };
  const convert::ChangeDigest digest("a company's key");
  auto convert = [&](bool changeFile) {
    resetCustomers(database);
    std::optional<convert::ChangeFileWriter> writer;
    std::optional<convert::ChangeRecorder> recorder;
    if (changeFile) {
      convert::ChangeFileHeader header;
      header.company = "BENCH";
      header.tab = "AR";
      writer.emplace(connection.LogFolderOnDisk(), header, std::chrono::system_clock::now(),
                     digest);
      recorder.emplace(*writer, false);
      engine.SetChangeRecorder(&*recorder);
    }
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    run.Convert(engine, "(CODETAXGRP= \"ONGSTPST \")");
    if (recorder) recorder->Finish();
    const double elapsed = seconds(start);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    engine.SetChangeRecorder(nullptr);
    if (to.taxGroupGrid->lUpdated() != static_cast<std::int32_t>(count)) {
      std::cerr << "converted " << to.taxGroupGrid->lUpdated() << " of " << count << "\n";
      std::exit(1);
    }
    return Rates{static_cast<double>(count) / elapsed, static_cast<double>(count) / cpu};
  };

  std::vector<double> wallWithout, wallWith, cpuWithout, cpuWith;
  for (int round = 0; round < rounds; ++round) {
    const Rates without = convert(false);
    const Rates with = convert(true);
    wallWithout.push_back(without.wall);
    wallWith.push_back(with.wall);
    cpuWithout.push_back(without.cpu);
    cpuWith.push_back(with.cpu);
    std::printf("round %d: without %8.0f records/s (CPU %8.0f), with %8.0f records/s (CPU %8.0f)\n",
                round + 1, without.wall, without.cpu, with.wall, with.cpu);
  }
  auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  std::printf("records                          %zu, median of %d rounds\n", count, rounds);
  std::printf("                                 wall-clock records/s   CPU-time records/s\n");
  std::printf("conversion without change file   %10.0f             %10.0f\n", median(wallWithout),
              median(cpuWithout));
  std::printf("conversion with change file      %10.0f             %10.0f\n", median(wallWith),
              median(cpuWith));
  std::printf("cost of the change file          %9.1f %%             %9.1f %%\n",
              (median(wallWithout) / median(wallWith) - 1.0) * 100.0,
              (median(cpuWithout) / median(cpuWith) - 1.0) * 100.0);
  connection.Logoff();
  std::filesystem::remove_all(site);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return measure(argc > 1 ? std::stoul(argv[1]) : 20000, argc > 2 ? std::stoi(argv[2]) : 3);
  } catch (const std::exception& error) {
    std::cerr << "change_file_bench: " << error.what() << '\n';
    return 1;
  }
}

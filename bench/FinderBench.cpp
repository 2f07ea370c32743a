// Opens the customer finder of the range fields over a generated company of N customers and
// measures how long the operator waits: for the first page, for the list opened at a customer in
// the middle, for each further page while scrolling, and for a search.
//
//   finder_bench [N]      (default 100000)

#include "app/Layout.h"
#include "bench/CustomerMapping.h"
#include "host/controls/Finder.h"
#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"

#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class BenchPrompt : public erp::SignonPrompt {
 public:
  std::optional<erp::Credentials> ask(const std::string& message) override {
    if (!message.empty()) return std::nullopt;
    return erp::Credentials{"BENCH", "bench", "BENCH"};
  }
};

double milliseconds(const std::function<void()>& action) {
  const auto start = Clock::now();
  action();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

/// The slowest and the median of `runs` timings of `action`.
std::pair<double, double> slowestAndMedian(int runs, const std::function<void()>& action) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(milliseconds(action));
  std::sort(times.begin(), times.end());
  return {times.back(), times[times.size() / 2]};
}

host::ViewFinder customerFinder() {
  const app::FinderSetup& setup = app::FinderSetupOf(app::FinderKind::Customer);
  host::ViewFinder finder;
  finder.ViewID = setup.viewId;
  finder.InitKeyType = 1;
  finder.DisplayFieldIDs = setup.display;
  finder.SearchFieldIDs = setup.search;
  finder.ReturnFieldIDs = setup.returned;
  return finder;
}

std::string middleCustomer(const std::filesystem::path& database, size_t count) {
  SQLite::Database db(database.string(), SQLite::OPEN_READONLY);
  SQLite::Statement query(db, "SELECT IDCUST FROM AR0024 ORDER BY IDCUST LIMIT 1 OFFSET ?");
  query.bind(1, static_cast<std::int64_t>(count / 2));
  return query.executeStep() ? query.getColumn(0).getString() : std::string();
}

}  // namespace

int main(int argc, char** argv) {
  const size_t count = argc > 1 ? std::stoul(argv[1]) : 100000;
  const auto site = std::filesystem::temp_directory_path() /
                    ("ordavel-finder-bench-" + std::to_string(::getpid()));
  const std::filesystem::path shared = bench::GenerateBenchSite(site, count);
  const erp::SiteLayout layout(shared);

  BenchPrompt prompt;
  std::ostringstream shown;
  erp::ConsoleErrorDisplay display(shown);
  host::AccpacConnection connection(host::standin::StandinHostServices(shared, prompt, display));
  if (!connection.Logon("ZX1000", 0)) {
    std::cerr << "cannot sign on\n";
    return 1;
  }
  host::standin::StandinDataSource customers("AR0024");
  customers.SetDBLink(connection.CompanyDBLinkRW());
  customers.SetOpen(true);

  const host::ViewFinder settings = customerFinder();
  const host::FinderPaging paging;
  std::unique_ptr<host::Finder> finder;
  const double firstOpen = milliseconds([&] {
    finder = std::make_unique<host::Finder>(settings, customers, paging);
    finder->Refresh();
  });
  if (finder->Rows().empty()) {
    std::cerr << "the finder shows no customers\n";
    return 1;
  }
  const auto [reopenSlowest, reopenMedian] = slowestAndMedian(5, [&] {
    host::Finder reopened(settings, customers, paging);
    reopened.Refresh();
  });

  host::ViewFinder atMiddle = settings;
  atMiddle.InitKeyValue = {middleCustomer(layout.companyDatabase("BENCH"), count)};
  const auto [middleSlowest, middleMedian] = slowestAndMedian(5, [&] {
    host::Finder middle(atMiddle, customers, paging);
    middle.Refresh();
  });

  constexpr int kScrolledPages = 20;
  const double scrolling = milliseconds([&] {
    for (int page = 0; page < kScrolledPages; ++page) finder->FetchAfter();
  });
  const size_t held = finder->Rows().size();

  const auto [startsSlowest, startsMedian] = slowestAndMedian(5, [&] {
    finder->Refresh({1, "99", host::SearchMode::StartsWith});
  });
  const auto [containsSlowest, containsMedian] = slowestAndMedian(5, [&] {
    finder->Refresh({14, "Catering", host::SearchMode::Contains});
  });
  // Nothing matches: the whole list is read to find that out.
  const double nothingFound = milliseconds([&] {
    finder->Refresh({14, "no such name", host::SearchMode::Contains});
  });
  connection.Logoff();

  std::printf("customers                                  %zu\n", count);
  std::printf("finder first page, first open              %8.1f ms (%d rows a page)\n", firstOpen,
              paging.pageRows);
  std::printf("finder first page, reopened                %8.1f ms median, %.1f ms slowest\n",
              reopenMedian, reopenSlowest);
  std::printf("finder opened at the middle customer       %8.1f ms median, %.1f ms slowest\n",
              middleMedian, middleSlowest);
  std::printf("finder scrolling, per page                 %8.1f ms (%d pages, %zu rows held)\n",
              scrolling / kScrolledPages, kScrolledPages, held);
  std::printf("finder search, number starts with          %8.1f ms median, %.1f ms slowest\n",
              startsMedian, startsSlowest);
  std::printf("finder search, name contains               %8.1f ms median, %.1f ms slowest\n",
              containsMedian, containsSlowest);
  std::printf("finder search, name contains, no match      %8.1f ms\n", nothingFound);
  std::printf("finder first page under 50 ms              %s\n", firstOpen < 50 ? "yes" : "NO");
  std::filesystem::remove_all(site);
  return 0;
}

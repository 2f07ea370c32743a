// Converts N customers from ONGSTPST to ONHST through the whole program path (sign-on, data
// sources, mapping grids, conversion engine, conversion log) and, on the same database, measures
// the floor: one committed UPDATE by key per record, and one bulk UPDATE statement.
//
//   conversion_bench [N]      (default 100000)

#include "convert/ConversionEngine.h"
#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"

#include "erp/sample/CompanyGenerator.h"
#include "erp/sample/SiteFolder.h"
#include "erp/site/SiteDatabase.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <sys/resource.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

class BenchPrompt : public erp::SignonPrompt {
 public:
  std::optional<erp::Credentials> ask(const std::string& message) override {
    if (!message.empty()) return std::nullopt;
    return erp::Credentials{"BENCH", "bench", "BENCH"};
  }
};

struct Mapping {
  host::GridControl grid;
  host::FieldEditControl edit;
  std::unique_ptr<grids::TaxGroupGrid> taxGroupGrid;
};

std::unique_ptr<Mapping> mapping(const grids::ErrorDisplayFactory& errors, host::DataSource& txgrp,
                                 host::DataSource& txclass, const std::string& caption,
                                 const std::string& group) {
  auto result = std::make_unique<Mapping>();
  result->taxGroupGrid = std::make_unique<grids::TaxGroupGrid>(errors);
  grids::TaxGroupGrid& grid = *result->taxGroupGrid;
  grid.Name("Customer Taxes");
  grid.Grid(&result->grid);
  grid.adsTXGRP(&txgrp);
  grid.afecTaxGroup(&result->edit);
  grid.Caption(caption);
  grid.TransactionType(1);
  grid.adsTXCLASS(&txclass);
  grid.AddTaxClassColumn("Tax Class", 90, 1, 1);
  result->edit.Type(group);
  result->edit.Leave();
  return result;
}

std::unique_ptr<host::DataSource> open(host::AccpacConnection& connection, const char* view) {
  auto source = std::make_unique<host::standin::StandinDataSource>(view);
  source->SetDBLink(connection.CompanyDBLinkRW());
  source->SetOpen(true);
  return source;
}

/// Puts every customer back on the old group, so each measurement converts the same records.
void resetCustomers(const std::filesystem::path& database) {
  SQLite::Database db(database.string(), SQLite::OPEN_READWRITE);
  db.exec("UPDATE AR0024 SET CODETAXGRP = 'ONGSTPST', TAXSTTS1 = 1, TAXSTTS2 = 1");
}

}  // namespace

int main(int argc, char** argv) {
  const size_t count = argc > 1 ? std::stoul(argv[1]) : 100000;
  const auto site =
      std::filesystem::temp_directory_path() / ("ordavel-bench-" + std::to_string(::getpid()));
  std::filesystem::remove_all(site);
  setenv("ORDAVEL_REGISTRY", (site / "registry").c_str(), 1);

  auto start = Clock::now();
  erp::generateCompany(site, {"BENCH", "Benchmark Ltd.", {{"customers", count}}});
  const std::filesystem::path shared = erp::sharedDataOf(site);
  erp::SiteLayout layout(shared);
  {
    erp::SiteDatabase siteDb(layout);
    siteDb.addUser("BENCH", "Benchmark", "bench");
    siteDb.grantCompany("BENCH", "BENCH");
  }
  std::printf("generated %zu customers in %.2f s\n", count, seconds(start));
  const std::filesystem::path database = layout.companyDatabase("BENCH");

  BenchPrompt prompt;
  std::ostringstream shown;
  erp::ConsoleErrorDisplay display(shown);
  host::HostServices services = host::standin::StandinHostServices(shared, prompt, display);
  host::AccpacConnection connection(std::move(services));
  if (!connection.Logon("ZX1000", 0)) {
    std::cerr << "cannot sign on\n";
    return 1;
  }
  auto txgrp = open(connection, "TX0003");
  auto txclass = open(connection, "TX0001");
  auto customers = open(connection, "AR0024");
  grids::ErrorDisplayFactory errors = [&] {
    return std::make_unique<host::standin::StandinErrorDisplay>(display);
  };
  auto from = mapping(errors, *txgrp, *txclass, "From Sales Tax Group", "ONGSTPST");
  auto to = mapping(errors, *txgrp, *txclass, "To Sales Tax Group", "ONHST");
  host::FieldEditControl criteriaControl;
  struct NoFilterWindow : host::FilterWindow {
    std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
  } filterWindow;
  grids::CriteriaField criteria(filterWindow);

  convert::RunState state;
  host::ProgressBar progress;
  host::TextBox processing;
  host::NoEventPump pump;
  convert::ConversionEngine engine(connection, state, progress, processing, pump);

  const long memoryBefore = peakKilobytes();
  start = Clock::now();
  from->taxGroupGrid->adsHeader(customers.get());
  from->taxGroupGrid->Filter("(CODETAXGRP= \"ONGSTPST \")");
  from->taxGroupGrid->lTaxGroupIDX(38);
  from->taxGroupGrid->TaxClassFieldPrefix("TAXSTTS");
  from->taxGroupGrid->TaxRegistrationFieldPrefix("IDTAXREGI");
  engine.CopyTaxGroupGridSettings(*from->taxGroupGrid, *to->taxGroupGrid);
  engine.StartTaxGroupLog(*from->taxGroupGrid, *to->taxGroupGrid, "AR_Customers");
  engine.ConvertTaxGroupRecords(*from->taxGroupGrid, *to->taxGroupGrid, criteria);
  const double program = seconds(start);
  const long memoryAfter = peakKilobytes();
  if (to->taxGroupGrid->lUpdated() != static_cast<std::int32_t>(count)) {
    std::cerr << "converted " << to->taxGroupGrid->lUpdated() << " of " << count << "\n";
    return 1;
  }
  connection.Logoff();

  resetCustomers(database);
  SQLite::Database db(database.string(), SQLite::OPEN_READWRITE);
  db.exec("PRAGMA synchronous=NORMAL");
  std::vector<std::string> keys;
  {
    SQLite::Statement query(db, "SELECT IDCUST FROM AR0024 ORDER BY IDCUST");
    while (query.executeStep()) keys.push_back(query.getColumn(0).getString());
  }
  start = Clock::now();
  SQLite::Statement update(db,
                           "UPDATE AR0024 SET CODETAXGRP = 'ONHST', TAXSTTS1 = 1, TAXSTTS2 = 0, "
                           "_rev = _rev + 1 WHERE IDCUST = ?");
  for (const std::string& key : keys) {
    update.bind(1, key);
    update.exec();
    update.reset();
  }
  const double perRecord = seconds(start);

  resetCustomers(database);
  start = Clock::now();
  db.exec(
      "UPDATE AR0024 SET CODETAXGRP = 'ONHST', TAXSTTS1 = 1, TAXSTTS2 = 0, _rev = _rev + 1 "
      "WHERE CODETAXGRP = 'ONGSTPST' AND TAXSTTS1 = 1 AND TAXSTTS2 = 1");
  const double bulk = seconds(start);

  auto rate = [count](double s) { return static_cast<double>(count) / s; };
  std::printf("records                          %zu\n", count);
  std::printf("Ordavel (views, grids, log)      %10.0f records/s  (%.2f s)\n", rate(program),
              program);
  std::printf("floor: committed UPDATE per key  %10.0f records/s  (%.2f s)\n", rate(perRecord),
              perRecord);
  std::printf("floor: one bulk UPDATE           %10.0f records/s  (%.3f s)\n", rate(bulk), bulk);
  std::printf("ratio per-key floor / Ordavel    %10.1f\n", program / perRecord);
  std::printf("ratio bulk floor / Ordavel       %10.1f\n", program / bulk);
  std::printf("peak memory before conversion    %10ld kB\n", memoryBefore);
  std::printf("peak memory after conversion     %10ld kB\n", memoryAfter);
  std::filesystem::remove_all(site);
  return 0;
}

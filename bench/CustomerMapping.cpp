#include "bench/CustomerMapping.h"

#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"
#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"

#include <cstdlib>
#include <stdexcept>

namespace bench {

std::optional<erp::Credentials> BenchPrompt::ask(const std::string& message) {
  if (!message.empty()) return std::nullopt;
  return erp::Credentials{"BENCH", "bench", "BENCH"};
}

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

std::filesystem::path GenerateBenchSite(const std::filesystem::path& site, std::size_t customers) {
  std::filesystem::remove_all(site);
  setenv("ORDAVEL_REGISTRY", (site / "registry").c_str(), 1);
  erp::generateCompany(site, {"BENCH", "Benchmark Ltd.", {{"customers", customers}}});
  const std::filesystem::path shared = erp::sharedDataOf(site);
  erp::SiteDatabase siteDb{erp::SiteLayout(shared)};
  siteDb.addUser("BENCH", "Benchmark", "bench");
  siteDb.grantCompany("BENCH", "BENCH");
  return shared;
}

CustomerRun::CustomerRun(const std::filesystem::path& shared)
    : connection(host::standin::StandinHostServices(shared, prompt, display)) {
  if (!connection.Logon("ZX1000", 0)) throw std::runtime_error("cannot sign on to company BENCH");
  txgrp = open(connection, "TX0003");
  txclass = open(connection, "TX0001");
  customers = open(connection, "AR0024");
  errors = [this] { return std::make_unique<host::standin::StandinErrorDisplay>(display); };
  from = mapping(errors, *txgrp, *txclass, "From Sales Tax Group", "ONGSTPST");
  to = mapping(errors, *txgrp, *txclass, "To Sales Tax Group", "ONHST");
}

void CustomerRun::Convert(convert::ConversionEngine& engine, const std::string& filter) {
  from->taxGroupGrid->adsHeader(customers.get());
  from->taxGroupGrid->Filter(filter);
  from->taxGroupGrid->lTaxGroupIDX(38);
  from->taxGroupGrid->TaxClassFieldPrefix("TAXSTTS");
  from->taxGroupGrid->TaxRegistrationFieldPrefix("IDTAXREGI");
  engine.CopyTaxGroupGridSettings(*from->taxGroupGrid, *to->taxGroupGrid);
  engine.StartTaxGroupLog(*from->taxGroupGrid, *to->taxGroupGrid, "AR_Customers");
  engine.ConvertTaxGroupRecords(*from->taxGroupGrid, *to->taxGroupGrid, criteria);
}

}  // namespace bench

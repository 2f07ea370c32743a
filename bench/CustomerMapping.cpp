#include "bench/CustomerMapping.h"

#include "host/standin/StandinDataSource.h"

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

}  // namespace bench

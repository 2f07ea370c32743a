#pragma once

#include "convert/ConversionEngine.h"
#include "grids/CriteriaField.h"
#include "grids/TaxGroupGrid.h"
#include "host/AccpacConnection.h"
#include "host/DataSource.h"
#include "standin/site/ErpErrorDisplay.h"
#include "standin/site/SignonPrompt.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace bench {

/// Signs on as user BENCH to company BENCH, the company the conversion benchmarks generate.
class BenchPrompt : public erp::SignonPrompt {
 public:
  std::optional<erp::Credentials> ask(const std::string& message) override;
};

/// A customers' tax-group mapping with its grid and tax-group edit control, as the window's.
struct Mapping {
  host::GridControl grid;
  host::FieldEditControl edit;
  std::unique_ptr<grids::TaxGroupGrid> taxGroupGrid;
};

/// A sales mapping captioned `caption` with one class column, showing tax group `group`.
std::unique_ptr<Mapping> mapping(const grids::ErrorDisplayFactory& errors, host::DataSource& txgrp,
                                 host::DataSource& txclass, const std::string& caption,
                                 const std::string& group);

/// A stand-in data source on `view`, open on the connection's read-write company link.
std::unique_ptr<host::DataSource> open(host::AccpacConnection& connection, const char* view);

/// Generates company BENCH with `customers` customers in a new site at `site`, where user BENCH
/// (password "bench") may sign on to it; the site's shared-data folder.
std::filesystem::path GenerateBenchSite(const std::filesystem::path& site, std::size_t customers);

/// User BENCH signed on to company BENCH of the site in `shared`, with the views and the
/// ONGSTPST to ONHST mapping a customers' conversion needs.
struct CustomerRun {
  /// Throws std::runtime_error when user BENCH cannot sign on.
  explicit CustomerRun(const std::filesystem::path& shared);
  /// Converts the customers `filter` selects from ONGSTPST to ONHST through `engine`, logged in
  /// AR_Customers.
  void Convert(convert::ConversionEngine& engine, const std::string& filter);

  BenchPrompt prompt;
  std::ostringstream shown;
  erp::ConsoleErrorDisplay display{shown};
  host::AccpacConnection connection;
  std::unique_ptr<host::DataSource> txgrp, txclass, customers;
  grids::ErrorDisplayFactory errors;
  std::unique_ptr<Mapping> from, to;
  struct NoFilterWindow : host::FilterWindow {
    std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
  } filterWindow;
  grids::CriteriaField criteria{filterWindow};
};

}  // namespace bench

#pragma once

#include "erp/site/SignonPrompt.h"
#include "grids/TaxGroupGrid.h"
#include "host/AccpacConnection.h"
#include "host/DataSource.h"

#include <memory>
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

}  // namespace bench

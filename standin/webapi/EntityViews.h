#pragma once

#include "standin/database/CompanyDatabase.h"
#include "standin/database/ErpDataSource.h"
#include "standin/database/ErrorList.h"
#include "standin/webapi/EntityModel.h"
#include "standin/webapi/JsonValues.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace erp::webapi {

/// Which properties and detail collections a response shows (`$select`).
class Selection {
 public:
  /// Every property and collection when `names` is empty, else those named; throws WebApiError
  /// (InvalidParameters) for a name that is not one of the set's.
  Selection(const EntitySet& set, const std::vector<std::string>& names);

  bool shows(const std::string& name) const { return names_.empty() || names_.count(name) != 0; }

 private:
  std::set<std::string> names_;
};

/// The stand-in's data sources behind one entity set: its view, with each detail view composed
/// with it as the ERP composes them, so that a header update commits its rows with it.
class EntityViews {
 public:
  EntityViews(const EntitySet& set, std::shared_ptr<CompanyDatabase> database, ErrorList& errors,
              bool readOnly);

  const EntitySet& set() const { return set_; }
  DataSource& header() { return *header_; }
  /// The data source of the set's detail collection `index` (in the set's order).
  DataSource& detail(size_t index) { return *details_.at(index); }

  /// Reads the record whose key fields hold `key` (in key order); false when there is none.
  bool read(const std::vector<Value>& key);
  /// Positions before the first record of `filter` (the ERP's language), in key order; a filter
  /// the view refuses throws WebApiError (InvalidParameters).
  void browse(const std::string& filter);

  /// The current record as JSON, with the rows of its detail collections.
  Json json(const Selection& selection);
  /// The current record's key as it appears in a URL: `('1200')` or `(Name1='A',Name2=3)`.
  std::string keyText();

 private:
  Json rows(size_t index);

  const EntitySet& set_;
  std::unique_ptr<DataSource> header_;
  std::vector<std::unique_ptr<DataSource>> details_;
};

}  // namespace erp::webapi

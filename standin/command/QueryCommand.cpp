#include "standin/command/Commands.h"

#include "platform/Text.h"
#include "standin/database/ErpDataSource.h"
#include "standin/database/ValueText.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace erp {
namespace {

bool isTaxField(const FieldDef& field) {
  switch (field.check) {
    case Check::TaxGroup:
    case Check::TaxAuthority:
    case Check::TaxClassOfGroup:
    case Check::TaxClassOfAuthority:
    case Check::TaxIncluded:
      return true;
    default:
      return field.description.starts_with("Tax Registration");
  }
}

/// The key fields in key order, then the tax fields in field order; every field of a view
/// without keys (an options view).
std::vector<const FieldDef*> queryColumns(const ViewDef& view) {
  std::vector<const FieldDef*> columns;
  if (view.keys.empty()) {
    for (const FieldDef& field : view.fields) columns.push_back(&field);
    return columns;
  }
  for (int number : view.keys.front().fields) columns.push_back(view.field(number));
  for (const FieldDef& field : view.fields) {
    if (isTaxField(field) && std::find(columns.begin(), columns.end(), &field) == columns.end()) {
      columns.push_back(&field);
    }
  }
  return columns;
}

size_t columnWidth(const FieldDef& field) {
  size_t width = 0;
  switch (field.type) {
    case FieldType::Text:
      width = static_cast<size_t>(std::min(field.size, 24));
      break;
    case FieldType::Int16:
    case FieldType::Boolean:
      width = 6;
      break;
    case FieldType::Int32:
      width = 11;
      break;
    case FieldType::Date:
      width = 8;
      break;
    case FieldType::Decimal:
      width = 14;
      break;
  }
  return std::max(width, field.name.size());
}

void printLine(std::ostream& out, const std::vector<std::string>& cells,
               const std::vector<size_t>& widths) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += "  ";
    line += cells[i];
    if (cells[i].size() < widths[i]) line.append(widths[i] - cells[i].size(), ' ');
  }
  out << platform::TrimRight(line) << '\n';
}

struct QueryOptions {
  std::string folder;
  std::string company;
  std::string view;
  std::string filter;
  std::string fields;
};

}  // namespace

std::int64_t printRecords(const std::filesystem::path& siteDir, const std::string& company,
                          const std::string& viewId, const std::string& filter, std::ostream& out) {
  SiteDatabase site{SiteLayout(sharedDataOf(siteDir))};
  const std::optional<CompanyEntry> entry = site.company(company);
  if (!entry) throw std::runtime_error("Company " + company + " does not exist.");
  const ViewDef* view = ViewCatalog::standard().find(viewId);
  if (!view) throw std::runtime_error("View " + viewId + " does not exist.");

  auto database =
      std::make_shared<CompanyDatabase>(site.layout().sharedData() / entry->databaseFile);
  ErrorList errors;
  DataSource source(database, errors, true, view->id);
  const std::vector<const FieldDef*> columns = queryColumns(*view);
  std::vector<size_t> widths;
  std::vector<std::string> cells;
  for (const FieldDef* field : columns) {
    widths.push_back(columnWidth(*field));
    cells.push_back(field->name);
  }

  auto printRecord = [&] {
    cells.clear();
    for (const FieldDef* field : columns) cells.push_back(valueText(source.value(field->number)));
    printLine(out, cells, widths);
  };
  std::int64_t count = 0;
  source.clear();
  if (view->keys.empty()) {
    if (!filter.empty())
      throw std::runtime_error("View " + view->id + " holds one record; it takes no filter.");
    printLine(out, cells, widths);
    if (source.read()) {
      printRecord();
      ++count;
    }
  } else {
    source.browse(filter);
    printLine(out, cells, widths);
    while (source.fetch()) {
      printRecord();
      ++count;
    }
  }
  out << count << " records.\n";
  return count;
}

void addQueryCommand(CLI::App& app) {
  auto options = std::make_shared<QueryOptions>();
  CLI::App* query = app.add_subcommand(
      "query",
      "Lists the keys and tax fields of a view's records that pass a filter, or a view's fields.");
  auto* folder = query->add_option("DIR", options->folder, "Folder of the site");
  query->add_option("COMPANY", options->company, "Org ID of the company");
  query->add_option("VIEW", options->view, "View ID, for example AR0024");
  query->add_option("FILTER", options->filter, "Browse filter, for example IDCUST <= \"1200\"");
  query
      ->add_option("--fields", options->fields,
                   "List the fields of this view (number, name, description, type, size), "
                   "which filters name")
      ->excludes(folder);
  query->callback([options] {
    if (!options->fields.empty()) {
      printFields(options->fields, std::cout);
      return;
    }
    if (options->view.empty()) throw CLI::RequiredError("DIR COMPANY VIEW");
    printRecords(options->folder, options->company, options->view, options->filter, std::cout);
  });
}

}  // namespace erp

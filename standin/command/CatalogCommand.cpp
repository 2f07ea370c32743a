#include "standin/command/Commands.h"

#include "standin/catalog/ViewCatalog.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <stdexcept>

namespace erp {
namespace {

const char* typeName(FieldType type) {
  switch (type) {
    case FieldType::Text:
      return "Text";
    case FieldType::Int16:
      return "Int16";
    case FieldType::Int32:
      return "Int32";
    case FieldType::Decimal:
      return "Decimal";
    case FieldType::Date:
      return "Date";
    case FieldType::Boolean:
      break;
  }
  return "Boolean";
}

std::string padded(const std::string& text, size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string rightAligned(const std::string& text, size_t width) {
  return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

/// "AR0011  A/R Item Taxes (detail of AR0010)"
std::string title(const ViewDef& view) {
  std::string text = view.id + "  " + view.description;
  if (view.composition) text += " (detail of " + view.composition->headerView + ")";
  if (view.singleRecord) text += " (one record)";
  return text;
}

}  // namespace

void printViews(std::ostream& out) {
  for (const ViewDef& view : ViewCatalog::standard().views()) out << title(view) << '\n';
}

void printFields(const std::string& viewId, std::ostream& out) {
  const ViewDef* view = ViewCatalog::standard().find(viewId);
  if (!view) throw std::runtime_error("View " + viewId + " does not exist.");
  size_t nameWidth = 4;
  size_t descriptionWidth = 11;
  for (const FieldDef& field : view->fields) {
    nameWidth = std::max(nameWidth, field.name.size());
    descriptionWidth = std::max(descriptionWidth, field.description.size());
  }
  out << title(*view) << '\n';
  out << "  No.  " << padded("Name", nameWidth) << "  " << padded("Description", descriptionWidth)
      << "  Type     Size\n";
  for (const FieldDef& field : view->fields) {
    out << rightAligned(std::to_string(field.number), 5) << "  " << padded(field.name, nameWidth)
        << "  " << padded(field.description, descriptionWidth) << "  "
        << padded(typeName(field.type), 7) << rightAligned(std::to_string(field.size), 6) << '\n';
  }
  for (const KeyDef& key : view->keys) {
    out << "Key " << key.name << ":";
    for (int number : key.fields) out << ' ' << view->field(number)->name;
    out << '\n';
  }
}

void addViewsCommand(CLI::App& app) {
  CLI::App* views =
      app.add_subcommand("views", "Lists the views of the ERP with their descriptions.");
  views->callback([] { printViews(std::cout); });
}

}  // namespace erp

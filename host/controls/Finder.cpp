#include "host/controls/Finder.h"

#include "host/HostError.h"

#include "util/ShellHelpers.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace host {
namespace {

HostError FinderError(const std::string& text) {
  return HostError(HostError::kGeneralFailure, text, "Finder");
}

std::optional<double> NumberOf(const Variant& value) {
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
  if (const auto* decimal = std::get_if<double>(&value)) return *decimal;
  if (const auto* text = std::get_if<std::string>(&value)) {
    std::string_view view = *text;
    while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
    while (!view.empty() && view.back() == ' ') view.remove_suffix(1);
    std::int64_t whole = 0;
    auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), whole);
    if (!view.empty() && error == std::errc() && end == view.data() + view.size()) {
      return static_cast<double>(whole);
    }
  }
  return std::nullopt;
}

// Numbers compare as numbers when both sides are numbers, everything else as text.
int CompareKeyValue(const Variant& left, const Variant& right) {
  bool leftText = std::holds_alternative<std::string>(left);
  bool rightText = std::holds_alternative<std::string>(right);
  if (!leftText || !rightText) {
    auto a = NumberOf(left);
    auto b = NumberOf(right);
    if (a && b) return *a < *b ? -1 : (*a > *b ? 1 : 0);
  }
  return VariantText(left).compare(VariantText(right));
}

}  // namespace

Finder::Finder(ViewFinder settings, DataSource& source)
    : settings_(std::move(settings)), source_(source) {}

const Key& Finder::OrderKey() const {
  const std::vector<Key>& keys = source_.Keys();
  if (settings_.ViewOrder < 0 || settings_.ViewOrder >= static_cast<int>(keys.size())) {
    throw FinderError("View " + source_.ViewID() + " has no order " +
                      std::to_string(settings_.ViewOrder) + ".");
  }
  return keys[static_cast<size_t>(settings_.ViewOrder)];
}

std::vector<int> Finder::DisplayFields() const {
  return settings_.DisplayFieldIDs.empty() ? OrderKey().fields : settings_.DisplayFieldIDs;
}

int Finder::ReturnField() const {
  return settings_.ReturnFieldIDs.empty() ? OrderKey().fields.front()
                                          : settings_.ReturnFieldIDs.front();
}

std::vector<std::string> Finder::Captions() const {
  std::vector<std::string> captions;
  for (int field : DisplayFields()) captions.push_back(source_.InfoOf(field).description);
  return captions;
}

std::string Finder::ListFilter(int searchField, const std::string& searchText) const {
  if (searchField == 0) return settings_.Filter;
  const auto& allowed = settings_.SearchFieldIDs;
  if (std::find(allowed.begin(), allowed.end(), searchField) == allowed.end()) {
    throw FinderError("Field " + std::to_string(searchField) + " cannot be searched.");
  }
  const FieldInfo& info = source_.InfoOf(searchField);
  std::string search;
  if (info.type == FieldType::Text) {
    search = info.name + " LIKE \"" + util::EscapeQuotes("%" + searchText + "%") + "\"";
  } else {
    auto number = NumberOf(searchText);
    if (!number) throw FinderError(info.description + " is searched by number.");
    search = info.name + " = " + VariantText(*number);
  }
  if (settings_.Filter.empty()) return search;
  return "(" + settings_.Filter + ") AND (" + search + ")";
}

void Finder::Refresh(int searchField, const std::string& searchText) {
  std::string filter = ListFilter(searchField, searchText);
  const Key& key = OrderKey();
  std::vector<int> display = DisplayFields();
  int returned = ReturnField();

  rows_.clear();
  initialRow_ = 0;
  source_.ClearRecord();
  source_.SetKeyNumber(settings_.ViewOrder);
  source_.Browse(filter, true);
  bool initialFound = settings_.InitKeyValue.empty();
  while (source_.Fetch(false)) {
    FinderRow row;
    for (int field : display) row.cells.push_back(source_.Fields(field).Text());
    row.returnValue = source_.Fields(returned).Text();
    if (!initialFound) {
      int order = 0;
      size_t compared = std::min(key.fields.size(), settings_.InitKeyValue.size());
      for (size_t i = 0; i < compared && order == 0; ++i) {
        order = CompareKeyValue(source_.Fields(key.fields[i]).Value(), settings_.InitKeyValue[i]);
      }
      initialRow_ = static_cast<int>(rows_.size());
      initialFound = order >= 0;
    }
    rows_.push_back(std::move(row));
  }
}

std::string Finder::Choose(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) {
    throw FinderError("Row " + std::to_string(row) + " is not in the list.");
  }
  return rows_[static_cast<size_t>(row)].returnValue;
}

}  // namespace host

#include "host/controls/Finder.h"

#include "host/HostError.h"

#include "platform/Text.h"
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

// Compares two places in the list over the fields both have.
int ComparePositions(const std::vector<Variant>& left, const std::vector<Variant>& right) {
  const size_t compared = std::min(left.size(), right.size());
  for (size_t i = 0; i < compared; ++i) {
    if (int order = CompareKeyValue(left[i], right[i]); order != 0) return order;
  }
  return 0;
}

// The value a key field can take from a position; nothing for a value it cannot hold, which
// putting would report in the session's error list.
std::optional<Variant> KeyValueFor(const FieldInfo& info, const Variant& value) {
  if (std::holds_alternative<std::monostate>(value)) return std::nullopt;
  if (info.type == FieldType::Text || !std::holds_alternative<std::string>(value)) return value;
  auto number = NumberOf(value);
  if (!number) return std::nullopt;
  return Variant(static_cast<std::int64_t>(*number));
}

// Whether `text` matches a browse filter's LIKE pattern (% any run of characters, _ one).
bool LikeMatches(std::string_view text, std::string_view pattern) {
  std::size_t t = 0;
  std::size_t p = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '_' || pattern[p] == text[t])) {
      ++t;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '%') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '%') ++p;
  return p == pattern.size();
}

// The pattern with every letter left to any character, so that the browse filter keeps the
// records that can match in any letter case; the exact check follows on each record read.
std::string AnyCaseNarrowing(std::string pattern) {
  for (char& c : pattern) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) c = '_';
  }
  return pattern;
}

}  // namespace

Finder::Finder(ViewFinder settings, DataSource& source, FinderPaging paging)
    : settings_(std::move(settings)),
      source_(source),
      paging_{std::max(1, paging.pageRows), std::max(2, paging.pagesHeld)},
      filter_(settings_.Filter) {}

const Key& Finder::OrderKey() const {
  const std::vector<Key>& keys = source_.Keys();
  if (settings_.ViewOrder < 0 || settings_.ViewOrder >= static_cast<int>(keys.size())) {
    throw FinderError("View " + source_.ViewID() + " has no order " +
                      std::to_string(settings_.ViewOrder) + ".");
  }
  return keys[static_cast<size_t>(settings_.ViewOrder)];
}

std::vector<int> Finder::ListOrder() const {
  std::vector<int> order = OrderKey().fields;
  for (int field : source_.Keys().front().fields) {
    if (std::find(order.begin(), order.end(), field) == order.end()) order.push_back(field);
  }
  return order;
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
  return ListFilter(FinderSearch{searchField, searchText, SearchMode::Contains});
}

std::string Finder::ListFilter(const FinderSearch& search) const {
  if (search.field == 0) return settings_.Filter;
  const auto& allowed = settings_.SearchFieldIDs;
  if (std::find(allowed.begin(), allowed.end(), search.field) == allowed.end()) {
    throw FinderError("Field " + std::to_string(search.field) + " cannot be searched.");
  }
  const FieldInfo& info = source_.InfoOf(search.field);
  std::string condition;
  if (info.type == FieldType::Text) {
    std::string pattern = SearchPattern(search);
    if (IgnoresCase(search)) pattern = AnyCaseNarrowing(std::move(pattern));
    condition = info.name + " LIKE \"" + util::EscapeQuotes(pattern) + "\"";
  } else {
    auto number = NumberOf(search.text);
    if (!number) throw FinderError(info.description + " is searched by number.");
    condition = info.name + " = " + VariantText(*number);
  }
  if (settings_.Filter.empty()) return condition;
  return "(" + settings_.Filter + ") AND (" + condition + ")";
}

void Finder::Refresh(int searchField, const std::string& searchText) {
  Refresh(FinderSearch{searchField, searchText, SearchMode::Contains});
}

std::string Finder::SearchPattern(const FinderSearch& search) {
  return (search.mode == SearchMode::Contains ? "%" : "") + search.text + "%";
}

bool Finder::IgnoresCase(const FinderSearch& search) const {
  if (search.field == 0 || source_.InfoOf(search.field).type != FieldType::Text) return false;
  // Keys are kept in upper case and searched as typed; names and descriptions are not.
  const std::vector<int>& key = source_.Keys().front().fields;
  return std::find(key.begin(), key.end(), search.field) == key.end();
}

Finder::TextMatch Finder::MatchOf(const FinderSearch& search) const {
  if (!IgnoresCase(search)) return {};
  return {search.field, platform::FoldCase(SearchPattern(search))};
}

bool Finder::Matches(const TextMatch& match) {
  if (match.field == 0) return true;
  std::string text = source_.Fields(match.field).Text();
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return LikeMatches(platform::FoldCase(text), match.pattern);
}

void Finder::Refresh(const FinderSearch& search) {
  std::string filter = ListFilter(search);
  TextMatch match = MatchOf(search);
  const std::vector<Variant>& initial = settings_.InitKeyValue;
  std::vector<FinderRow> before = ReadPage(filter, match, initial, paging_.pageRows, Bound::Before);
  std::vector<FinderRow> from = ReadPage(filter, match, initial, paging_.pageRows, Bound::From);

  RowsAboutToChange.Emit(FinderRowsChange{});
  filter_ = std::move(filter);
  match_ = std::move(match);
  moreBefore_ = static_cast<int>(before.size()) == paging_.pageRows;
  moreAfter_ = static_cast<int>(from.size()) == paging_.pageRows;
  initialRow_ = static_cast<int>(before.size());
  if (from.empty()) initialRow_ = std::max(0, initialRow_ - 1);
  rows_.clear();
  for (auto* page : {&before, &from}) {
    for (FinderRow& row : *page) rows_.push_back(std::move(row));
  }
  RowsChanged.Emit(FinderRowsChange{});
}

bool Finder::FetchAfter() {
  if (rows_.empty()) return false;
  std::vector<FinderRow> page = PageAfter(rows_.back().position, paging_.pageRows);
  moreAfter_ = static_cast<int>(page.size()) == paging_.pageRows;
  if (page.empty()) return false;
  Insert(static_cast<int>(rows_.size()), std::move(page));
  KeepWithinBound(true);
  return true;
}

bool Finder::FetchBefore() {
  if (rows_.empty()) return false;
  std::vector<FinderRow> page = PageBefore(rows_.front().position, paging_.pageRows);
  moreBefore_ = static_cast<int>(page.size()) == paging_.pageRows;
  if (page.empty()) return false;
  Insert(0, std::move(page));
  KeepWithinBound(false);
  return true;
}

void Finder::Insert(int first, std::vector<FinderRow> rows) {
  const int count = static_cast<int>(rows.size());
  RowsAboutToChange.Emit(FinderRowsChange{FinderRowsChange::Insert, first, count});
  rows_.insert(rows_.begin() + first, std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
  if (initialRow_ >= first) initialRow_ += count;
  RowsChanged.Emit(FinderRowsChange{FinderRowsChange::Insert, first, count});
}

void Finder::Remove(int first, int count) {
  RowsAboutToChange.Emit(FinderRowsChange{FinderRowsChange::Remove, first, count});
  rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
  if (initialRow_ >= first + count) {
    initialRow_ -= count;
  } else if (initialRow_ >= first) {
    initialRow_ = -1;
  }
  RowsChanged.Emit(FinderRowsChange{FinderRowsChange::Remove, first, count});
}

void Finder::KeepWithinBound(bool dropFront) {
  const int excess = static_cast<int>(rows_.size()) - paging_.pageRows * paging_.pagesHeld;
  if (excess <= 0) return;
  if (dropFront) {
    Remove(0, excess);
    moreBefore_ = true;
  } else {
    Remove(static_cast<int>(rows_.size()) - excess, excess);
    moreAfter_ = true;
  }
}

std::string Finder::Choose(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) {
    throw FinderError("Row " + std::to_string(row) + " is not in the list.");
  }
  return rows_[static_cast<size_t>(row)].returnValue;
}

std::vector<FinderRow> Finder::PageAfter(const std::vector<Variant>& position, int count) {
  return ReadPage(filter_, match_, position, count, Bound::After);
}

std::vector<FinderRow> Finder::PageBefore(const std::vector<Variant>& position, int count) {
  return ReadPage(filter_, match_, position, count, Bound::Before);
}

size_t Finder::PutStart(const std::vector<Variant>& position) {
  const std::vector<int>& fields = OrderKey().fields;
  size_t put = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    Field field = source_.Fields(fields[i]);
    std::optional<Variant> value;
    if (i == put && i < position.size()) value = KeyValueFor(field.Info(), position[i]);
    if (value) {
      field.PutWithoutVerification(*value);
      ++put;
    } else {
      field.PutWithoutVerification(field.LowestValue());
    }
  }
  return put;
}

std::vector<FinderRow> Finder::ReadPage(const std::string& filter, const TextMatch& match,
                                        const std::vector<Variant>& position, int count,
                                        Bound bound) {
  std::vector<FinderRow> rows;
  if (count <= 0) return rows;
  const std::vector<int> order = ListOrder();
  const std::vector<int> display = DisplayFields();
  const int returned = ReturnField();
  source_.ClearRecord();
  source_.SetKeyNumber(settings_.ViewOrder);
  // The browse starts at the key values put; a position the key cannot hold in full is the
  // start of a key, as far as it could be put, and the comparisons below treat it so.
  std::vector<Variant> start = position;
  const size_t put = PutStart(position);
  if (put < std::min(position.size(), OrderKey().fields.size())) start.resize(put);
  if (bound == Bound::Before && start.empty()) return rows;

  source_.Browse(filter, bound != Bound::Before);
  while (static_cast<int>(rows.size()) < count && source_.Fetch(false)) {
    std::vector<Variant> at;
    for (int field : order) at.push_back(source_.Fields(field).Value());
    const int place = ComparePositions(at, start);
    const bool wanted = bound == Bound::After  ? place > 0
                        : bound == Bound::From ? place >= 0
                                               : place < 0;
    if (!wanted || !Matches(match)) continue;
    rows.push_back(CurrentRow(std::move(at), display, returned));
  }
  if (bound == Bound::Before) std::reverse(rows.begin(), rows.end());
  return rows;
}

std::string Finder::ShownText(int number) {
  Field field = source_.Fields(number);
  const std::vector<PresentationEntry>& list = field.Info().presentation;
  if (list.empty()) return field.Text();
  const Variant value = field.Value();
  if (std::holds_alternative<std::int64_t>(value)) {
    const std::int64_t stored = std::get<std::int64_t>(value);
    for (const PresentationEntry& entry : list) {
      if (entry.value == stored) return entry.text;
    }
  }
  // A value outside the list shows as stored, so that nothing is hidden.
  return field.Text();
}

FinderRow Finder::CurrentRow(std::vector<Variant> position, const std::vector<int>& display,
                             int returned) {
  FinderRow row;
  for (int field : display) row.cells.push_back(ShownText(field));
  row.returnValue = source_.Fields(returned).Text();
  row.position = std::move(position);
  return row;
}

}  // namespace host

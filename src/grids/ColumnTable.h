#pragma once

#include <algorithm>
#include <utility>
#include <vector>

namespace grids {

/// A table keyed by grid column index that iterates its entries in the order they were added.
template <typename Value>
class ColumnTable {
 public:
  using Entry = std::pair<int, Value>;

  /// Adds an entry, or replaces the value of a column already present (keeping its place).
  void Add(int column, Value value) {
    if (Value* existing = Find(column)) {
      *existing = std::move(value);
    } else {
      entries_.emplace_back(column, std::move(value));
    }
  }
  /// The column's value, or nullptr.
  const Value* Find(int column) const {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [column](const Entry& entry) { return entry.first == column; });
    return it == entries_.end() ? nullptr : &it->second;
  }
  Value* Find(int column) {
    return const_cast<Value*>(static_cast<const ColumnTable&>(*this).Find(column));
  }
  bool Contains(int column) const { return Find(column) != nullptr; }
  int Count() const { return static_cast<int>(entries_.size()); }
  /// The column indexes, in the order they were added.
  std::vector<int> Columns() const {
    std::vector<int> columns;
    for (const Entry& entry : entries_) columns.push_back(entry.first);
    return columns;
  }
  void Clear() { entries_.clear(); }

  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }
  auto begin() { return entries_.begin(); }
  auto end() { return entries_.end(); }

 private:
  std::vector<Entry> entries_;
};

}  // namespace grids

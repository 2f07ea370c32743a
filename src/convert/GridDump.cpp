#include "convert/GridDump.h"

#include <algorithm>

namespace convert {
namespace {

std::string LeftAligned(const std::string& text, size_t width) {
  std::string cell = text + std::string(width > text.size() ? width - text.size() : 0, ' ');
  return cell.substr(0, width);
}

std::string RightAligned(const std::string& text, size_t width) {
  std::string cell = std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
  return cell.substr(cell.size() - width);
}

template <typename Value>
Value Lookup(const grids::ColumnTable<Value>& table, int column, Value fallback) {
  const Value* found = table.Find(column);
  return found ? *found : fallback;
}

}  // namespace

std::vector<std::string> GridTableLines(const host::GridControl& grid,
                                        const grids::ColumnTable<std::string>& captions,
                                        const grids::ColumnTable<std::int32_t>& alignment) {
  const int columns = grid.ColumnCount();
  const int rows = grid.RowsCount();
  std::vector<size_t> width(static_cast<size_t>(columns));
  for (int c = 0; c < columns; ++c) {
    size_t& w = width[static_cast<size_t>(c)];
    w = Lookup(captions, c, std::string()).size();
    for (int r = 0; r < rows; ++r) w = std::max(w, grid.GetCellData(c, r).size());
  }

  std::string captionLine;
  std::string dashLine;
  for (int c = 0; c < columns; ++c) {
    if (!captionLine.empty()) {
      captionLine += " ";
      dashLine += " ";
    }
    captionLine += LeftAligned(Lookup(captions, c, std::string()), width[static_cast<size_t>(c)]);
    dashLine += std::string(width[static_cast<size_t>(c)], '-');
  }
  std::vector<std::string> lines{captionLine, dashLine};

  for (int r = 0; r < rows; ++r) {
    std::string line;
    for (int c = 0; c < columns; ++c) {
      if (!line.empty()) line += " ";
      const std::string cell = grid.GetCellData(c, r);
      const size_t w = width[static_cast<size_t>(c)];
      line +=
          Lookup(alignment, c, std::int32_t{0}) == 1 ? RightAligned(cell, w) : LeftAligned(cell, w);
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace convert

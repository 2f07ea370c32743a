#pragma once

#include <cstdint>
#include <string>

namespace grids {

/// Describes one tax-class or tax-included column of a mapping grid.
struct ClassField {
  /// The column's field name: "CLASS" or "INCLUDED" and the count of like columns before it.
  std::string Name;
  /// Position of the detail field the column maps to; -1 until a conversion sets it.
  std::int32_t IDX = -1;
  /// Class type of the column's classes (1 sales, 2 purchases).
  std::int16_t ClassType = 0;
  /// Class axis of the column's classes.
  std::int16_t ClassAxis = 0;
};

}  // namespace grids

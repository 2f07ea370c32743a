#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace erp {

/// A field value as the stand-in ERP stores it: empty, whole number, decimal or text.
/// Booleans and dates (YYYYMMDD) are whole numbers; texts never carry trailing blanks.
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

}  // namespace erp

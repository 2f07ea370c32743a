#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace host {

/// A value crossing the ERP boundary: empty, whole number, decimal or text.
using Variant = std::variant<std::monostate, std::int64_t, double, std::string>;

/// The value as text: numbers in decimal, empty for no value.
std::string VariantText(const Variant& value);

/// The value as a whole number; texts are parsed, and anything else gives 0.
std::int64_t VariantInteger(const Variant& value);

/// The value as a Boolean: a non-zero number, or the text "1" / "True" / "Yes".
bool VariantBoolean(const Variant& value);

}  // namespace host

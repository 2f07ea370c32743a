#pragma once

#include "standin/catalog/Value.h"
#include "standin/catalog/ViewDef.h"

#include <optional>
#include <string>
#include <string_view>

namespace erp {

/// The value as text: numbers in decimal, empty for no value.
std::string valueText(const Value& value);

/// The value as a whole number, or nullopt when it is not one (texts are parsed).
std::optional<std::int64_t> valueInteger(const Value& value);

/// Converts a value to the storage form of `field`; nullopt when it cannot be
/// (a text that is not a number for a numeric field).
std::optional<Value> coerceToField(const FieldDef& field, const Value& value);

/// The smallest value the field can hold.
Value lowestValue(const FieldDef& field);

/// The empty value of a field: blank text or zero.
Value blankValue(const FieldDef& field);

}  // namespace erp

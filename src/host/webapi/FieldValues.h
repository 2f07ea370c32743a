#pragma once

#include "host/DataSource.h"
#include "host/Variant.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace host::webapi {

/// A value in the form a field stores it: trimmed text, a whole number (Yes/No as 1/0, a date as
/// YYYYMMDD) or a decimal; nullopt when it cannot be (text that is no number, a number out of
/// the field's range), as the ERP's views convert what is put.
std::optional<Variant> Coerced(const FieldInfo& field, const Variant& value);

/// The blank value of a field: empty text or zero.
Variant BlankValue(const FieldInfo& field);

/// The smallest value a field can hold.
Variant LowestValue(const FieldInfo& field);

/// A property's JSON value as the field stores it. Servers differ in how they write values, so
/// each form a server may use is taken: Yes/No as "Yes"/"No", true/false or 1/0; dates as ISO
/// text with or without a time, or as "/Date(milliseconds)/", null as blank; numbers also as
/// text. Throws std::invalid_argument naming `property` for a value of another kind.
Variant FromJson(const FieldInfo& field, const std::string& property, const nlohmann::json& json);

/// A field's value as the server takes it: Yes/No as "Yes"/"No", a date as
/// "2010-07-01T00:00:00Z" (null when blank), numbers as numbers, text as text.
nlohmann::ordered_json ToJson(const FieldInfo& field, const Variant& value);

/// A field's value as an OData literal for a key or a filter: text quoted, numbers bare.
std::string ODataLiteral(const FieldInfo& field, const Variant& value);

}  // namespace host::webapi

#pragma once

#include "standin/catalog/Value.h"
#include "standin/catalog/ViewDef.h"

#include <nlohmann/json.hpp>

#include <string>

namespace erp::webapi {

/// JSON that keeps its members in the order they were written or sent: a PATCH is applied in
/// payload order, and a response lists properties in field order.
using Json = nlohmann::ordered_json;

/// The EDM type of a field: texts and Yes/No flags are Edm.String, whole numbers Edm.Int32,
/// decimals Edm.Decimal, dates Edm.DateTimeOffset.
std::string edmType(const FieldDef& field);

/// Whether a property of this field may be null: texts that are not keys, and dates.
bool nullable(const FieldDef& field, bool key);

/// The JSON form of a field's value: a flag as "Yes" or "No", a date as
/// "YYYY-MM-DDT00:00:00Z" (null when blank).
Json toJson(const FieldDef& field, const Value& value);

/// The value that `json` gives the field of property `name`; throws WebApiError
/// (InvalidPayload) naming the property when the JSON type or form does not fit.
Value fromJson(const FieldDef& field, const std::string& name, const Json& json);

/// The date YYYYMMDD written as "YYYY-MM-DD" (optionally followed by "T00:00:00" and "Z"), or -1
/// when `text` is not such a date.
long long parseDate(const std::string& text);

}  // namespace erp::webapi

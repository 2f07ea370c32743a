#pragma once

#include "standin/catalog/CatalogBuilder.h"

namespace erp::shorthand {

// Short names for the field types, transaction types and class axes that the catalog's view
// tables repeat on almost every line.
inline constexpr auto Text = FieldType::Text;
inline constexpr auto Int16 = FieldType::Int16;
inline constexpr auto Int32 = FieldType::Int32;
inline constexpr auto Decimal = FieldType::Decimal;
inline constexpr auto Date = FieldType::Date;
inline constexpr auto Boolean = FieldType::Boolean;

inline constexpr int Sales = 1;
inline constexpr int Purchases = 2;
// Miscellaneous charges are classed on the customer axis, not the item axis.
inline constexpr int CustomerAxis = 1;
inline constexpr int VendorAxis = 1;
// Items, categories and price lists carry their classes on the item axis.
inline constexpr int ItemAxis = 2;

}  // namespace erp::shorthand

#pragma once

#include "standin/webapi/EntityViews.h"
#include "standin/webapi/JsonValues.h"

#include <vector>

namespace erp::webapi {

/// Applies the body of a PATCH to the record with `key` through the entity set's views, as an
/// operator's changes go through them: every value put with verification, in payload order, so
/// that a tax group comes before the classes checked against it. The body names only the
/// properties to change; a detail collection lists rows that each carry `UpdateOperation`
/// (`Unspecified` leaves the row alone, `Insert`, `Update` or `Delete`) and the row's key. The
/// header update then commits the header and every row change in one transaction, or nothing.
/// Throws WebApiError: InvalidPayload for a body the set does not take, RecordNotFound,
/// RecordDuplicate, RecordInvalid with the view's message for a refused value, General (409)
/// when another user changed the record meanwhile. Nothing is written when it throws.
void applyPatch(EntityViews& views, const std::vector<Value>& key, const Json& body);

}  // namespace erp::webapi

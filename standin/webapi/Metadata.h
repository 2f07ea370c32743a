#pragma once

#include "standin/webapi/EntityModel.h"

#include <string>

namespace erp::webapi {

/// The `$metadata` document (EDMX 4.0) of a module: one entity type per entity set with its key
/// and properties, each detail collection as a property of type `Collection(NS.Row)` over a
/// complex type, and the container with the module's entity sets.
std::string metadataDocument(const EntityModel& model, const std::string& module);

}  // namespace erp::webapi

#pragma once

#include "standin/database/CompanyDatabase.h"
#include "standin/webapi/EntityModel.h"
#include "standin/webapi/JsonValues.h"
#include "standin/webapi/QueryOptions.h"

#include <memory>
#include <string>

namespace erp::webapi {

/// What the read requests of one module need: the company's database and the URL of the module
/// (`.../-/{COMPANY}/{MODULE}/`) that links start with.
struct ModuleContext {
  std::shared_ptr<CompanyDatabase> database;
  std::string moduleUrl;
};

/// A page of an entity set's feed: `{"odata.metadata", "odata.count" (with $count=true),
/// "value": [...], "odata.nextLink" (while records remain)}`. A page holds at most `pageSize`
/// records; the next link asks for the rest with the same options.
Json feed(const EntitySet& set, const ModuleContext& context, const QueryOptions& options,
          int pageSize);

/// One record by key with its detail rows; throws WebApiError (RecordNotFound) when there is
/// none. Of the query options only `$select` applies.
Json entity(const EntitySet& set, const ModuleContext& context, const std::string& keyText,
            const QueryOptions& options);

/// The module's service document: the names and URLs of its entity sets.
Json serviceDocument(const EntityModel& model, const std::string& module,
                     const std::string& moduleUrl);

/// A query value with every character outside the unreserved set percent-encoded.
std::string percentEncoded(const std::string& text);

}  // namespace erp::webapi

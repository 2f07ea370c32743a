#pragma once

#include "standin/catalog/ViewDef.h"

#include <vector>

namespace erp {

/// Tax groups, tax classes and tax authorities.
std::vector<ViewDef> taxViews();
/// Currency codes and the module option views.
std::vector<ViewDef> commonViews();
/// Accounts Payable: vendors, vendor groups, recurring payables and their optional fields.
std::vector<ViewDef> apViews();
/// Accounts Receivable: customers, groups, ship-to locations, items, recurring charges.
std::vector<ViewDef> arViews();
/// Inventory Control: items, categories, item pricing, price list codes and their taxes.
std::vector<ViewDef> icViews();
/// Order Entry: templates and miscellaneous charges.
std::vector<ViewDef> oeViews();
/// Purchase Orders: templates, additional costs and vendor contract costs.
std::vector<ViewDef> poViews();
/// Bank: banks and distribution codes.
std::vector<ViewDef> bkViews();

}  // namespace erp

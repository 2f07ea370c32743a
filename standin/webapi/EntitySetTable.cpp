#include "standin/webapi/EntitySetTable.h"

namespace erp::webapi {
namespace {

std::vector<EntitySetDef> buildTable() {
  return {
      {"APVendors", "Vendor", "AP", "AP0015", "vendors", {}},
      {"APVendorGroups", "VendorGroup", "AP", "AP0016", "vendor-groups", {}},
      {"APRecurringPayables",
       "RecurringPayable",
       "AP",
       "AP0064",
       "recurring-payables",
       {{"RecurringPayableDetails", "AP0065", false}}},
      {"ARCustomers", "Customer", "AR", "AR0024", "customers", {}},
      {"ARCustomerGroups", "CustomerGroup", "AR", "AR0025", "customer-groups", {}},
      {"ARShipToLocations", "ShipToLocation", "AR", "AR0023", "ship-to", {}},
      {"ARRecurringCharges",
       "RecurringCharge",
       "AR",
       "AR0046",
       "recurring-charges",
       {{"RecurringChargeDetails", "AR0047", false}}},
      {"ARItems", "Item", "AR", "AR0010", "ar-items", {{"ItemTaxClasses", "AR0011", true}}},
      {"ICItems", "Item", "IC", "IC0310", "items", {{"ItemTaxAuthorities", "IC0330", true}}},
      {"ICCategories",
       "Category",
       "IC",
       "IC0210",
       "categories",
       {{"CategoryTaxes", "IC0220", true}}},
      {"ICItemPricing",
       "ItemPricing",
       "IC",
       "IC0480",
       "item-pricing",
       {{"ItemPricingTaxes", "IC0490", true}}},
      {"ICPriceListCodes",
       "PriceListCode",
       "IC",
       "IC0390",
       "price-lists",
       {{"PriceListCodeTaxes", "IC0395", true}}},
      {"OETemplates", "Template", "OE", "OE0540", "oe-templates", {}},
      {"OEMiscellaneousCharges",
       "MiscellaneousCharge",
       "OE",
       "OE0440",
       "misc-charges",
       {{"MiscellaneousChargeTaxes", "OE0460", true}}},
      {"POTemplates", "Template", "PO", "PO0605", "po-templates", {}},
      {"POAdditionalCosts",
       "AdditionalCost",
       "PO",
       "PO0300",
       "additional-costs",
       {{"AdditionalCostTaxes", "PO0290", true}}},
      {"POVendorContractCosts",
       "VendorContractCost",
       "PO",
       "PO0181",
       "contract-costs",
       {{"VendorContractCostTaxes", "PO0183", true}}},
      {"BKBanks", "Bank", "BK", "BK0001", "banks", {}},
      {"BKDistributionCodes",
       "DistributionCode",
       "BK",
       "BK0003",
       "distribution-codes",
       {{"DistributionCodeTaxes", "BK0860", true}}},
      {"TXTaxGroups", "TaxGroup", "TX", "TX0003", "", {}, true},
      {"TXTaxAuthorities", "TaxAuthority", "TX", "TX0002", "", {}, true},
      {"TXTaxClasses", "TaxClass", "TX", "TX0001", "", {}, true},
  };
}

/// Five numbered fields PREFIX1..PREFIX5 published as PROPERTY1..PROPERTY5.
void addSeries(std::vector<PublishedName>& names, const std::string& viewId,
               const std::string& prefix, const std::string& property) {
  for (int n = 1; n <= 5; ++n) {
    names.push_back({viewId, prefix + std::to_string(n), property + std::to_string(n)});
  }
}

std::vector<PublishedName> buildPublishedNames() {
  std::vector<PublishedName> names{
      {"AP0015", "VENDORID", "VendorNumber"},    {"AP0015", "CODETAXGRP", "TaxGroup"},
      {"AR0024", "IDCUST", "CustomerNumber"},    {"AR0024", "CODETAXGRP", "TaxGroup"},
      {"AR0025", "IDGRP", "GroupCode"},          {"AR0025", "CODETAXGRP", "TaxGroup"},
      {"AR0023", "IDCUST", "CustomerNumber"},    {"AR0023", "IDCUSTSHPT", "ShipToLocationKey"},
      {"AR0023", "CODETAXGRP", "TaxGroup"},      {"AR0046", "IDSTDINVC", "RecurringChargeCode"},
      {"AR0046", "IDCUST", "CustomerNumber"},    {"AR0046", "CODETAXGRP", "TaxGroup"},
      {"AR0047", "CNTLINE", "LineNumber"},       {"AR0047", "IDITEM", "ItemNumber"},
      {"AR0010", "IDITEM", "ItemNumber"},        {"AR0011", "IDITEM", "ItemNumber"},
      {"AR0011", "AUTHORITY", "TaxAuthority"},   {"AR0011", "TAXSTTS", "TaxClass"},
      {"AR0011", "SWTAXINCL", "TaxIncluded"},    {"IC0330", "ITEMNO", "ItemNumber"},
      {"IC0330", "AUTHORITY", "TaxAuthority"},   {"IC0330", "PURCHCLASS", "PurchaseTaxClass"},
      {"IC0330", "SALESCLASS", "SalesTaxClass"}, {"BK0001", "CODETXGRP", "TaxGroupCode"},
  };
  addSeries(names, "AP0015", "TAXCLASS", "TaxClassCode");
  addSeries(names, "AP0015", "SWTXINC", "TaxIncluded");
  addSeries(names, "AR0024", "TAXSTTS", "TaxClassCode");
  addSeries(names, "AR0024", "IDTAXREGI", "TaxRegistrationNumber");
  addSeries(names, "AR0025", "TAXSTTS", "TaxClassCode");
  addSeries(names, "AR0023", "TAXSTTS", "TaxClassCode");
  addSeries(names, "AR0023", "IDTAXREGI", "TaxRegistrationNumber");
  addSeries(names, "AR0046", "TAXSTTS", "TaxClass");
  addSeries(names, "AR0047", "TAXSTTS", "TaxClass");
  addSeries(names, "AR0047", "SWTAXINCL", "TaxIncluded");
  return names;
}

}  // namespace

const std::vector<EntitySetDef>& entitySetTable() {
  static const std::vector<EntitySetDef> table = buildTable();
  return table;
}

const std::vector<PublishedName>& publishedNames() {
  static const std::vector<PublishedName> names = buildPublishedNames();
  return names;
}

}  // namespace erp::webapi

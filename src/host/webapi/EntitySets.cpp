#include "host/webapi/EntitySets.h"

#include <cctype>

namespace host::webapi {
namespace {

constexpr size_t kMaxNameLength = 28;

std::vector<std::string> Series(const std::string& prefix) {
  std::vector<std::string> names;
  for (int n = 1; n <= 5; ++n) names.push_back(prefix + std::to_string(n));
  return names;
}

std::vector<EntitySetEntry> MakeEntitySets() {
  return {
      {"TX0003", "TX", "TXTaxGroups"},
      {"TX0002", "TX", "TXTaxAuthorities"},
      {"TX0001", "TX", "TXTaxClasses"},
      {"AP0015", "AP", "APVendors"},
      {"AP0016", "AP", "APVendorGroups"},
      {"AP0064", "AP", "APRecurringPayables"},
      {"AR0024", "AR", "ARCustomers", {}, Series("IDTAXREGI")},
      {"AR0025", "AR", "ARCustomerGroups"},
      {"AR0023", "AR", "ARShipToLocations"},
      {"AR0046", "AR", "ARRecurringCharges"},
      {"AR0010", "AR", "ARItems", {{"AR0011", "ItemTaxClasses"}}},
      {"IC0310", "IC", "ICItems", {{"IC0330", "ItemTaxAuthorities"}}},
      {"IC0210", "IC", "ICCategories", {{"IC0220", "CategoryTaxes"}}},
      {"IC0480", "IC", "ICItemPricing", {{"IC0490", "ItemPricingTaxes"}}},
      {"IC0390", "IC", "ICPriceListCodes", {{"IC0395", "PriceListCodeTaxes"}}},
      {"OE0540", "OE", "OETemplates"},
      {"OE0440", "OE", "OEMiscellaneousCharges", {{"OE0460", "MiscellaneousChargeTaxes"}}},
      {"PO0605", "PO", "POTemplates"},
      {"PO0300", "PO", "POAdditionalCosts", {{"PO0290", "AdditionalCostTaxes"}}},
      {"PO0181", "PO", "POVendorContractCosts", {{"PO0183", "VendorContractCostTaxes"}}},
      {"BK0001", "BK", "BKBanks"},
      {"BK0003", "BK", "BKDistributionCodes", {{"BK0860", "DistributionCodeTaxes"}}},
  };
}

void AddSeries(std::vector<PublishedName>& names, const std::string& view,
               const std::string& prefix, const std::string& property) {
  for (int n = 1; n <= 5; ++n) {
    names.push_back({view, prefix + std::to_string(n), property + std::to_string(n)});
  }
}

std::vector<PublishedName> MakePublishedNames() {
  std::vector<PublishedName> names{
      {"AP0015", "VENDORID", "VendorNumber"},    {"AP0015", "CODETAXGRP", "TaxGroup"},
      {"AR0024", "IDCUST", "CustomerNumber"},    {"AR0024", "CODETAXGRP", "TaxGroup"},
      {"AR0025", "IDGRP", "GroupCode"},          {"AR0025", "CODETAXGRP", "TaxGroup"},
      {"AR0023", "IDCUST", "CustomerNumber"},    {"AR0023", "IDCUSTSHPT", "ShipToLocationKey"},
      {"AR0023", "CODETAXGRP", "TaxGroup"},      {"AR0046", "IDSTDINVC", "RecurringChargeCode"},
      {"AR0046", "IDCUST", "CustomerNumber"},    {"AR0046", "CODETAXGRP", "TaxGroup"},
      {"AR0010", "IDITEM", "ItemNumber"},        {"AR0011", "IDITEM", "ItemNumber"},
      {"AR0011", "AUTHORITY", "TaxAuthority"},   {"AR0011", "TAXSTTS", "TaxClass"},
      {"AR0011", "SWTAXINCL", "TaxIncluded"},    {"IC0330", "ITEMNO", "ItemNumber"},
      {"IC0330", "AUTHORITY", "TaxAuthority"},   {"IC0330", "PURCHCLASS", "PurchaseTaxClass"},
      {"IC0330", "SALESCLASS", "SalesTaxClass"}, {"BK0001", "CODETXGRP", "TaxGroupCode"},
  };
  AddSeries(names, "AP0015", "TAXCLASS", "TaxClassCode");
  AddSeries(names, "AP0015", "SWTXINC", "TaxIncluded");
  AddSeries(names, "AR0024", "TAXSTTS", "TaxClassCode");
  AddSeries(names, "AR0024", "IDTAXREGI", "TaxRegistrationNumber");
  AddSeries(names, "AR0025", "TAXSTTS", "TaxClassCode");
  AddSeries(names, "AR0023", "TAXSTTS", "TaxClassCode");
  AddSeries(names, "AR0023", "IDTAXREGI", "TaxRegistrationNumber");
  AddSeries(names, "AR0046", "TAXSTTS", "TaxClass");
  return names;
}

}  // namespace

const std::vector<EntitySetEntry>& EntitySets() {
  static const std::vector<EntitySetEntry> sets = MakeEntitySets();
  return sets;
}

const EntitySetEntry* EntitySetOfView(std::string_view view) {
  for (const EntitySetEntry& entry : EntitySets()) {
    if (entry.view == view) return &entry;
  }
  return nullptr;
}

const EntitySetEntry* EntitySetOfDetail(std::string_view view, const DetailSet** detail) {
  for (const EntitySetEntry& entry : EntitySets()) {
    for (const DetailSet& candidate : entry.details) {
      if (candidate.view != view) continue;
      if (detail) *detail = &candidate;
      return &entry;
    }
  }
  return nullptr;
}

const std::vector<PublishedName>& PublishedNames() {
  static const std::vector<PublishedName> names = MakePublishedNames();
  return names;
}

std::string RuleName(std::string_view description) {
  std::string name;
  for (char c : description) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) name += c;
  }
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  return name;
}

}  // namespace host::webapi

#include "app/Layout.h"

#include "convert/Targets.h"

#include <map>

namespace app {

const std::vector<std::string>& TaxSources() {
  static const std::vector<std::string> sources{"adsTXGRP", "adsTXCLASS", "adsTXAUTH"};
  return sources;
}

const std::vector<DataSourceDef>& DataSources() {
  static const std::vector<DataSourceDef> sources{
      {"adsTXGRP", "TX0003"},
      {"adsTXCLASS", "TX0001"},
      {"adsTXAUTH", "TX0002"},
      {"adsAPVEN", "AP0015"},
      {"adsAPVENO", "AP0407", "adsAPVEN"},
      {"adsAPVGR", "AP0016"},
      {"adsAPVGRO", "AP0408", "adsAPVGR"},
      {"adsAPRPH", "AP0064"},
      {"adsAPRPD", "AP0065", "adsAPRPH"},
      {"adsAPRPHO", "AP0405", "adsAPRPH"},
      {"adsARCUS", "AR0024"},
      {"adsARCUSO", "AR0400", "adsARCUS"},
      {"adsARGRO", "AR0025"},
      {"adsARGROO", "AR0410", "adsARGRO"},
      {"adsARCSP", "AR0023"},
      {"adsARCSPO", "AR0412", "adsARCSP"},
      {"adsARITH", "AR0010"},
      {"adsARITD", "AR0009", "adsARITH"},
      {"adsARITT", "AR0011", "adsARITH"},
      {"adsARSIA", "AR0046"},
      {"adsARSID", "AR0047", "adsARSIA"},
      {"adsARSIAO", "AR0405", "adsARSIA"},
      {"adsARSIDO", "AR0404", "adsARSID"},
      {"adsICITEM", "IC0310"},
      {"adsICITMTX", "IC0330", "adsICITEM"},
      {"adsICITMV", "IC0340", "adsICITEM"},
      {"adsICUNIT", "IC0750", "adsICITEM"},
      {"adsICCATG", "IC0210"},
      {"adsICCATTX", "IC0220", "adsICCATG"},
      {"adsICPRIC", "IC0480"},
      {"adsICPRICP", "IC0480", "adsICPRIC"},
      {"adsICPRTX", "IC0490", "adsICPRIC"},
      {"adsICPCOD", "IC0390"},
      {"adsICPCTX", "IC0395", "adsICPCOD"},
      {"adsOEPLAT", "OE0540"},
      {"adsOEMISC", "OE0440"},
      {"adsOEMISCO", "OE0450", "adsOEMISC"},
      {"adsOEMISCT", "OE0460", "adsOEMISC"},
      {"adsPOPLAT", "PO0605"},
      {"adsPOACST", "PO0300"},
      {"adsPOACD", "PO0290", "adsPOACST"},
      {"adsPOACSTO", "PO0299", "adsPOACST"},
      {"adsPOVUPR", "PO0181"},
      {"adsPOVUMB", "PO0191", "adsPOVUPR"},
      {"adsPOVUMS", "PO0192", "adsPOVUPR"},
      {"adsPOVUTX", "PO0183", "adsPOVUPR"},
      {"adsBKACCT", "BK0001"},
      {"adsBKTT", "BK0003"},
      {"adsBKTTX", "BK0860", "adsBKTT"},
  };
  return sources;
}

const std::vector<TabDef>& Tabs() {
  static const std::vector<TabDef> tabs{
      {"Accounts Payable",
       "AP",
       {"adsAPVEN", "adsAPVENO", "adsAPVGR", "adsAPVGRO", "adsAPRPH", "adsAPRPD", "adsAPRPHO"}},
      {"Accounts Receivable",
       "AR",
       {"adsARCUS", "adsARCUSO", "adsARGRO", "adsARGROO", "adsARCSP", "adsARCSPO", "adsARITH",
        "adsARITD", "adsARITT", "adsARSIA", "adsARSID", "adsARSIAO", "adsARSIDO"}},
      {"Inventory Control",
       "IC",
       {"adsICITEM", "adsICITMTX", "adsICITMV", "adsICUNIT", "adsICCATG", "adsICCATTX", "adsICPRIC",
        "adsICPRICP", "adsICPRTX", "adsICPCOD", "adsICPCTX"}},
      {"Order Entry", "OE", {"adsOEPLAT", "adsOEMISC", "adsOEMISCO", "adsOEMISCT"}},
      {"Purchase Orders",
       "PO",
       {"adsPOPLAT", "adsPOACST", "adsPOACD", "adsPOACSTO", "adsPOVUPR", "adsPOVUMB", "adsPOVUMS",
        "adsPOVUTX"}},
      {"Bank", "BK", {"adsBKACCT", "adsBKTT", "adsBKTTX"}},
  };
  return tabs;
}

const std::vector<SectionDef>& Sections() {
  constexpr SharedControlKind Edit = SharedControlKind::TaxGroupEdit;
  constexpr SharedControlKind Grid = SharedControlKind::MappingGrid;
  static const std::vector<SectionDef> sections{
      {"AP",
       "frmAPVendorTaxes",
       "Vendor Taxes",
       "TFTF",
       {"chkVendors", "chkVendorGroups", "chkRecurringPayables"},
       {{"afecPurchasesFromTaxGroup", Edit},
        {"afecPurchasesToTaxGroup", Edit},
        {"agPurchasesFrom", Grid},
        {"agPurchasesTo", Grid}}},
      {"AR",
       "frmARCustomerTaxes",
       "Customer Taxes",
       "TFTF",
       {"chkCustomers", "chkCustomerGroups", "chkCustomerShipTo", "chkRecurringCharges"},
       {{"afecSalesFromTaxGroup", Edit},
        {"afecSalesToTaxGroup", Edit},
        {"agSalesFrom", Grid},
        {"agSalesTo", Grid}}},
      {"AR", "frmARItems", "A/R Item Taxes", "TTTT", {"chkARItemTaxes"}, {{"agARItems", Grid}}},
      {"IC",
       "frmICItems",
       "Item Taxes",
       "TFTF",
       {"chkItems", "chkItemCategories"},
       {{"agItems", Grid}}},
      {"IC",
       "frmICItemPricing",
       "Item Pricing Taxes",
       "TTTT",
       {"chkItemPricingTaxes", "chkPriceListCodes"},
       {{"agItemPrices", Grid}}},
      {"OE",
       "frmOETemplateCodes",
       "Order Entry Template Codes",
       "TFTF",
       {"chkOETemplateCodes"},
       {{"afecOETemplateCodeFromTaxGroup", Edit}, {"afecOETemplateCodeToTaxGroup", Edit}}},
      {"OE",
       "frmOEMiscCharges",
       "Miscellaneous Charges",
       "TTTT",
       {"chkOEMiscCharges"},
       {{"agOEMiscCharges", Grid}}},
      {"PO",
       "frmPOTemplateCodes",
       "Purchase Order Template Codes",
       "",
       {"chkPOTemplateCodes"},
       {{"afecPOTemplateCodeFromTaxGroup", Edit}, {"afecPOTemplateCodeToTaxGroup", Edit}}},
      {"PO",
       "frmPOAdditionalCosts",
       "Additional Costs",
       "TFTF",
       {"chkPOAdditionalCosts"},
       {{"agPOAdditionalCosts", Grid}}},
      {"PO",
       "frmVendorContractCosts",
       "Vendor Contract Costs",
       "TTTT",
       {"chkVendorContractCosts"},
       {{"agPOContractCosts", Grid}}},
      {"BK",
       "frmBKBanks",
       "Banks",
       "",
       {"chkConvertBanks"},
       {{"afecBanksFromTaxGroup", Edit},
        {"afecBanksToTaxGroup", Edit},
        {"agBanksFrom", Grid},
        {"agBanksTo", Grid}}},
      {"BK",
       "frmBKBankDistributionCodes",
       "Bank Distribution Codes",
       "TTTT",
       {"chkConvertBankDistributionCodes"},
       {{"agBKBankDistributionCodes", Grid}}},
  };
  return sections;
}

const std::vector<CheckBoxDef>& CheckBoxes() {
  static const std::vector<CheckBoxDef> boxes{
      {"chkVendors", "Convert Vendors"},
      {"chkVendorGroups", "Convert Vendor Groups"},
      {"chkRecurringPayables", "Convert Recurring Payables"},
      {"chkCustomers", "Convert Customers"},
      {"chkCustomerGroups", "Convert Customer Groups"},
      {"chkCustomerShipTo", "Convert Customer Ship-To Locations"},
      {"chkRecurringCharges", "Convert Recurring Charges"},
      {"chkARItemTaxes", "Convert Items"},
      {"chkItems", "Convert Items"},
      {"chkItemCategories", "Convert Categories"},
      {"chkItemPricingTaxes", "Convert Item Pricing"},
      {"chkPriceListCodes", "Convert Price List Codes"},
      {"chkOETemplateCodes", "Convert Template Codes"},
      {"chkOEMiscCharges", "Convert Miscellaneous Charges"},
      {"chkPOTemplateCodes", "Convert Template Codes"},
      {"chkPOAdditionalCosts", "Convert Additional Costs"},
      {"chkVendorContractCosts", "Convert Vendor Contract Costs"},
      {"chkConvertBanks", "Convert Banks"},
      {"chkConvertBankDistributionCodes", "Convert Bank Distribution Codes"},
  };
  return boxes;
}

const std::vector<RangePairDef>& RangePairs() {
  using F = FinderKind;
  using V = Visibility;
  static const std::vector<RangePairDef> pairs{
      {"AP", "chkVendors", true, "afecFromVendor", "afecToVendor", "Vendor", "Vendor", "adsAPVEN",
       1, F::Vendor},
      {"AP", "chkVendorGroups", true, "afecFromVendorGroup", "afecToVendorGroup", "Vendor Group",
       "Vendor Group", "adsAPVGR", 1, F::VendorGroup},
      {"AP", "chkRecurringPayables", true, "afecFromPayableCode", "afecToPayableCode",
       "Recurring Payables Code", "Recurring Payables Code", "adsAPRPH", 2, F::RecurringPayable, 1},
      {"AP", "chkRecurringPayables", false, "afecFromPayableCodeVendor", "afecToPayableCodeVendor",
       "Recurring Payables Vendor", "Recurring Payables Vendor", "adsAPRPH", 1, F::Vendor},
      {"AR", "chkCustomers", true, "afecFromCustomer", "afecToCustomer", "Customer", "Customer",
       "adsARCUS", 1, F::Customer},
      {"AR", "chkCustomerGroups", true, "afecFromCustomerGroup", "afecToCustomerGroup",
       "Customer Tax Group", "Customer Tax Group", "adsARGRO", 1, F::CustomerGroup},
      {"AR", "chkCustomerShipTo", true, "afecFromCustomerShipTo", "afecToCustomerShipTo",
       "Customer Ship-To Location", "Customer Ship-To Location", "adsARCUS", 1, F::Customer},
      {"AR", "chkARItemTaxes", true, "afecFromARItem", "afecToARItem", "A/R Item Number",
       "A/R Item Number", "adsARITH", 1, F::ARItem},
      {"AR", "chkRecurringCharges", true, "afecFromChargeCode", "afecToChargeCode",
       "A/R Recurring Charge Code", "A/R Recurring Charge Code", "adsARSIA", 1, F::RecurringCharge},
      {"AR", "chkRecurringCharges", false, "afecFromChargeCodeCustomer", "afecToChargeCodeCustomer",
       "Recurring Charge Customer", "Recurring Charge Code Customer", "adsARSIA", 2, F::Customer, 0,
       V::WhenAROption},
      {"IC", "chkItems", true, "afecFromItem", "afecToItem", "Item Number", "Item Number",
       "adsICITEM", 7, F::Item, 0, V::Always, true},
      {"IC", "chkItemCategories", true, "afecFromItemCategory", "afecToItemCategory", "Category",
       "Category", "adsICCATG", 1, F::Category},
      {"IC", "chkItemPricingTaxes", true, "afecFromItemPrice", "afecToItemPrice", "Item Price",
       "Item Price", "adsICPRIC", 70, F::Item, 0, V::Always, true},
      {"IC", "chkItemPricingTaxes", false, "afecFromItemPriceCurrency", "afecToItemPriceCurrency",
       "Item Price Currency", "Item Price Currency", "adsICPRIC", 1, F::Currency, 0,
       V::WhenICOption},
      {"IC", "chkItemPricingTaxes", false, "afecFromItemPriceList", "afecToItemPriceList",
       "Item Price List Code", "Item Price List Code", "adsICPRIC", 3, F::PriceList},
      {"IC", "chkPriceListCodes", true, "afecFromPriceList", "afecToPriceList",
       "Item Price List Code", "Item Price List Code", "adsICPCOD", 1, F::PriceList},
      {"OE", "chkOETemplateCodes", true, "afecFromOETemplate", "afecToOETemplate",
       "O/E Template Code", "O/E Template Code", "adsOEPLAT", 1, F::OETemplate},
      {"OE", "chkOEMiscCharges", true, "afecFromMiscCharge", "afecToMiscCharge",
       "O/E Miscellaneous Charge Code", "O/E Miscellaneous Charge Code", "adsOEMISC", 2,
       F::MiscCharge, 1},
      {"OE", "chkOEMiscCharges", false, "afecFromMiscChargeCurrency", "afecToMiscChargeCurrency",
       "Miscellaneous Charge Currency", "O/E Miscellaneous Charge Currency", "adsOEMISC", 1,
       F::Currency, 0, V::WhenICOption},
      {"PO", "chkPOTemplateCodes", true, "afecFromPOTemplate", "afecToPOTemplate",
       "P/O Template Code", "P/O Template Code", "adsPOPLAT", 1, F::POTemplate},
      {"PO", "chkPOAdditionalCosts", true, "afecFromAdditionalCost", "afecToAdditionalCost",
       "P/O Additional Cost Code", "P/O Additional Cost Code", "adsPOACST", 1, F::AdditionalCost},
      {"PO", "chkPOAdditionalCosts", false, "afecFromAdditionalCostCurrency",
       "afecToAdditionalCostCurrency", "Additional Cost Currency", "P/O Additional Cost Currency",
       "adsPOACST", 10, F::Currency, 0, V::WhenICOption},
      {"PO", "chkVendorContractCosts", true, "afecPOContractCostItemFrom",
       "afecPOContractCostItemTo", "P/O Contractl Cost Item", "P/O Contractl Cost Item",
       "adsPOVUPR", 1, F::Item, 0, V::Always, true},
      {"PO", "chkVendorContractCosts", false, "afecPOContractCostVendorFrom",
       "afecPOContractCostVendorTo", "Contract Cost Vendor", "P/O Contractl Cost Vendor",
       "adsPOVUPR", 2, F::Vendor},
      {"BK", "chkConvertBanks", true, "afecFromBank", "afecToBank", "Bank Code", "Bank Code",
       "adsBKACCT", 1, F::Bank},
      {"BK", "chkConvertBankDistributionCodes", true, "afecFromBankDistributionCode",
       "afecToBankDistributionCode", "Bank Distribution Code", "Bank Distribution Code", "adsBKTT",
       1, F::DistributionCode},
  };
  return pairs;
}

const FinderSetup& FinderSetupOf(FinderKind kind) {
  using F = FinderKind;
  static const std::map<FinderKind, FinderSetup> setups{
      {F::Vendor,
       {"AP0015",
        {1, 2, 10, 4, 7, 3, 24, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 122, 19, 124, 125, 121},
        {1, 2, 10, 3, 24, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 122, 19, 124, 125, 121},
        {1}}},
      {F::VendorGroup, {"AP0016", {1, 2, 3, 7, 6, 9, 14, 18}, {1, 2, 3, 7, 6, 9, 14, 18}, {1}}},
      {F::RecurringPayable, {"AP0064", {}, {}, {}}},
      {F::Customer,
       {"AR0024",
        {1,  14, 5,  8,  3,  4,  35, 32,  2,  15,  16,  17,
         18, 19, 20, 21, 22, 24, 25, 129, 23, 141, 142, 128},
        {1, 14, 2, 3, 4, 32, 2, 15, 16, 17, 18, 19, 20, 21, 22, 24, 25, 129, 23, 141, 142, 128},
        {1}}},
      {F::CustomerGroup, {"AR0025", {1, 2, 3}, {1, 2, 3}, {1}}},
      {F::ARItem, {"AR0010", {1, 3}, {3}, {1}}},
      {F::RecurringCharge, {"AR0046", {1, 2, 4}, {2, 4}, {1}}},
      {F::Item, {"IC0310", {7, 3, 5, 6, 8, 9, 10, 11, 14, 12, 44, 15, 74}, {}, {7}}},
      {F::Category, {"IC0210", {1, 2}, {2}, {1}}},
      {F::PriceList, {"IC0390", {1, 2}, {2}, {1}}},
      {F::Currency, {"CS0003", {1, 2, 3, 4, 5, 6, 7, 8}, {1}, {1}}},
      {F::OETemplate, {"OE0540", {1, 2}, {2}, {1}}},
      {F::MiscCharge, {"OE0440", {}, {}, {}}},
      {F::POTemplate, {"PO0605", {1, 2}, {2}, {1}}},
      {F::AdditionalCost, {"PO0300", {1, 10, 2}, {10, 2}, {1}}},
      {F::Bank, {"BK0001", {1, 2}, {2}, {1}}},
      {F::DistributionCode, {"BK0003", {1, 2}, {2}, {1}}},
  };
  return setups.at(kind);
}

const std::vector<TaxGroupGridDef>& TaxGroupGrids() {
  static const std::vector<TaxGroupGridDef> grids{
      {"PurchasesFromGrid", "AP", "Vendor Taxes", "agPurchasesFrom", "afecPurchasesFromTaxGroup",
       "From Purchases Tax Group", 2},
      {"PurchasesToGrid", "AP", "Vendor Taxes", "agPurchasesTo", "afecPurchasesToTaxGroup",
       "To Purchases Tax Group", 2},
      {"SalesFromGrid", "AR", "Customer Taxes", "agSalesFrom", "afecSalesFromTaxGroup",
       "From Sales Tax Group", 1},
      {"SalesToGrid", "AR", "Customer Taxes", "agSalesTo", "afecSalesToTaxGroup",
       "To Sales Tax Group", 1},
      {"OETemplateFromGrid", "OE", "Order Entry Template Codes", "",
       "afecOETemplateCodeFromTaxGroup", "From Template Tax Group", 1},
      {"OETemplateToGrid", "OE", "Order Entry Template Codes", "", "afecOETemplateCodeToTaxGroup",
       "To Template Tax Group", 1},
      {"POTemplateFromGrid", "PO", "Purchase Order Template Codes", "",
       "afecPOTemplateCodeFromTaxGroup", "From Template Tax Group", 2},
      {"POTemplateToGrid", "PO", "Purchase Order Template Codes", "",
       "afecPOTemplateCodeToTaxGroup", "To Template Tax Group", 2},
      {"BanksFromGrid", "BK", "Banks", "agBanksFrom", "afecBanksFromTaxGroup",
       "From Bank Tax Group", 2},
      {"BanksToGrid", "BK", "Banks", "agBanksTo", "afecBanksToTaxGroup", "To Bank Tax Group", 2},
  };
  return grids;
}

const std::vector<TaxAuthorityGridDef>& TaxAuthorityGrids() {
  using K = AuthorityColumnKind;
  static const std::vector<TaxAuthorityGridDef> grids{
      {"ARItemsGrid",
       "AR",
       "A/R Item Taxes",
       "agARItems",
       {{K::FromClass, "From Tax Class", 109, 1, 2},
        {K::ToClass, "To Tax Class", 99, 1, 2},
        {K::TaxIncluded, "Tax Included", 80}},
       "afecFromCustomer"},
      {"ICItemsGrid",
       "IC",
       "Item Taxes",
       "agItems",
       {{K::FromClass, "From Sales Tax Class", 137, 1, 2},
        {K::FromClass, "From Purchases Tax Class", 161, 2, 2},
        {K::ToClass, "To Sales Tax Class", 128, 1, 2},
        {K::ToClass, "To Purchases Tax Class", 152, 2, 2}},
       "afecFromItem"},
      {"ICItemPricesGrid",
       "IC",
       "Item Pricing Taxes",
       "agItemPrices",
       {{K::FromClass, "From Customer Tax Class", 160, 1, 2},
        {K::ToClass, "To Customer Tax Class", 154, 1, 2}},
       "afecFromItem"},
      {"OEMiscChargesGrid",
       "OE",
       "Miscellaneous Charges",
       "agOEMiscCharges",
       {{K::FromClass, "From Sales Tax Class", 137, 1, 1},
        {K::ToClass, "To Sales Tax Class", 128, 1, 1}},
       "afecFromOETemplate"},
      {"POAdditionalCostsGrid",
       "PO",
       "Additional Costs",
       "agPOAdditionalCosts",
       {{K::FromClass, "From Tax Class", 109, 2, 2}, {K::ToClass, "To Tax Class", 99, 2, 2}},
       "afecFromPOTemplate"},
      {"POContractCostsGrid",
       "PO",
       "Vendor Contract Costs",
       "agPOContractCosts",
       {{K::FromClass, "From Vendor Tax Class", 145, 2, 1},
        {K::ToClass, "To Vendor Tax Class", 137, 2, 1}},
       "afecFromPOTemplate"},
      {"BKDistributionCodesGrid",
       "BK",
       "Bank Distribution Codes",
       "agBKBankDistributionCodes",
       {{K::FromClass, "From Tax Class", 109, 1, 2},
        {K::ToClass, "To Tax Class", 99, 1, 2},
        {K::TaxIncluded, "Tax Included", 80}},
       "afecFromBankDistributionCode"},
  };
  return grids;
}

const std::vector<CriteriaDef>& CriteriaFields() {
  static const std::vector<CriteriaDef> fields = [] {
    std::vector<CriteriaDef> result;
    for (const convert::KindTarget& kind : convert::KindTargets()) {
      result.push_back(
          {kind.criteria, kind.tab, kind.rangeLines.at(0).toControl, kind.headerSource});
    }
    return result;
  }();
  return fields;
}

const std::vector<ResizeTagDef>& ResizeTags() {
  static const std::vector<ResizeTagDef> tags{
      {"SSTab1", "TTTT"},
      {"frmProgress", "TFTT"},
      {"ProgressBar", "TFTF"},
      {"txtProcessing", "TFTF"},
      {"cmdConvert", "FFFT"},
      {"cmdCancel", "FFFT"},
      {"cmdClose", "FFTT"},
      {"agPurchasesFrom", "FFFF"},
      {"agPurchasesTo", "FFFF"},
      {"agSalesFrom", "FFFF"},
      {"agSalesTo", "FFFF"},
      {"agARItems", "TTTT"},
      {"agItems", "TFTF"},
      {"agItemPrices", "TTTT"},
      {"agOEMiscCharges", "TTTT"},
      {"agPOAdditionalCosts", "TFTF"},
      {"agPOContractCosts", "TTTT"},
      {"agBanksFrom", "FFFF"},
      {"agBanksTo", "FFFF"},
      {"agBKBankDistributionCodes", "TTTT"},
  };
  return tags;
}

}  // namespace app

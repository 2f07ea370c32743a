#include "convert/KindTable.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace convert {
namespace {

using F = FinderKind;
using V = Visibility;
using K = AuthorityColumnKind;
using R = RangePairDef;

constexpr bool kItemNumber = true;
constexpr bool kNotChecked = false;

std::vector<MappingDef> MakeMappings() {
  const std::string both = "FFFF";
  return {
      {.tab = "AP",
       .frame = "frmAPVendorTaxes",
       .caption = "Vendor Taxes",
       .tag = "TFTF",
       .from = {"PurchasesFromGrid", "agPurchasesFrom", "afecPurchasesFromTaxGroup",
                "From Purchases Tax Group"},
       .to = {"PurchasesToGrid", "agPurchasesTo", "afecPurchasesToTaxGroup",
              "To Purchases Tax Group"},
       .transactionType = 2,
       .gridTag = both},
      {.tab = "AR",
       .frame = "frmARCustomerTaxes",
       .caption = "Customer Taxes",
       .tag = "TFTF",
       .from = {"SalesFromGrid", "agSalesFrom", "afecSalesFromTaxGroup", "From Sales Tax Group"},
       .to = {"SalesToGrid", "agSalesTo", "afecSalesToTaxGroup", "To Sales Tax Group"},
       .transactionType = 1,
       .gridTag = both},
      {.tab = "AR",
       .frame = "frmARItems",
       .caption = "A/R Item Taxes",
       .tag = "TTTT",
       .type = ConversionType::TaxAuthority,
       .grid = "ARItemsGrid",
       .gridControl = "agARItems",
       .columns = {{K::FromClass, "From Tax Class", 109, 1, 2},
                   {K::ToClass, "To Tax Class", 99, 1, 2},
                   {K::TaxIncluded, "Tax Included", 80}},
       .gridTag = "TTTT"},
      {.tab = "IC",
       .frame = "frmICItems",
       .caption = "Item Taxes",
       .tag = "TFTF",
       .type = ConversionType::TaxAuthority,
       .grid = "ICItemsGrid",
       .gridControl = "agItems",
       .columns = {{K::FromClass, "From Sales Tax Class", 137, 1, 2},
                   {K::FromClass, "From Purchases Tax Class", 161, 2, 2},
                   {K::ToClass, "To Sales Tax Class", 128, 1, 2},
                   {K::ToClass, "To Purchases Tax Class", 152, 2, 2}},
       .gridTag = "TFTF"},
      {.tab = "IC",
       .frame = "frmICItemPricing",
       .caption = "Item Pricing Taxes",
       .tag = "TTTT",
       .type = ConversionType::TaxAuthority,
       .grid = "ICItemPricesGrid",
       .gridControl = "agItemPrices",
       .columns = {{K::FromClass, "From Customer Tax Class", 160, 1, 2},
                   {K::ToClass, "To Customer Tax Class", 154, 1, 2}},
       .gridTag = "TTTT"},
      {.tab = "OE",
       .frame = "frmOETemplateCodes",
       .caption = "Order Entry Template Codes",
       .tag = "TFTF",
       .from = {"OETemplateFromGrid", "", "afecOETemplateCodeFromTaxGroup",
                "From Template Tax Group"},
       .to = {"OETemplateToGrid", "", "afecOETemplateCodeToTaxGroup", "To Template Tax Group"},
       .transactionType = 1},
      {.tab = "OE",
       .frame = "frmOEMiscCharges",
       .caption = "Miscellaneous Charges",
       .tag = "TTTT",
       .type = ConversionType::TaxAuthority,
       .grid = "OEMiscChargesGrid",
       .gridControl = "agOEMiscCharges",
       .columns = {{K::FromClass, "From Sales Tax Class", 137, 1, 1},
                   {K::ToClass, "To Sales Tax Class", 128, 1, 1}},
       .gridTag = "TTTT"},
      {.tab = "PO",
       .frame = "frmPOTemplateCodes",
       .caption = "Purchase Order Template Codes",
       .from = {"POTemplateFromGrid", "", "afecPOTemplateCodeFromTaxGroup",
                "From Template Tax Group"},
       .to = {"POTemplateToGrid", "", "afecPOTemplateCodeToTaxGroup", "To Template Tax Group"},
       .transactionType = 2},
      {.tab = "PO",
       .frame = "frmPOAdditionalCosts",
       .caption = "Additional Costs",
       .tag = "TFTF",
       .type = ConversionType::TaxAuthority,
       .grid = "POAdditionalCostsGrid",
       .gridControl = "agPOAdditionalCosts",
       .columns = {{K::FromClass, "From Tax Class", 109, 2, 2},
                   {K::ToClass, "To Tax Class", 99, 2, 2}},
       .gridTag = "TFTF"},
      {.tab = "PO",
       .frame = "frmVendorContractCosts",
       .caption = "Vendor Contract Costs",
       .tag = "TTTT",
       .type = ConversionType::TaxAuthority,
       .grid = "POContractCostsGrid",
       .gridControl = "agPOContractCosts",
       .columns = {{K::FromClass, "From Vendor Tax Class", 145, 2, 1},
                   {K::ToClass, "To Vendor Tax Class", 137, 2, 1}},
       .gridTag = "TTTT"},
      {.tab = "BK",
       .frame = "frmBKBanks",
       .caption = "Banks",
       .from = {"BanksFromGrid", "agBanksFrom", "afecBanksFromTaxGroup", "From Bank Tax Group"},
       .to = {"BanksToGrid", "agBanksTo", "afecBanksToTaxGroup", "To Bank Tax Group"},
       .transactionType = 2,
       .gridTag = both},
      {.tab = "BK",
       .frame = "frmBKBankDistributionCodes",
       .caption = "Bank Distribution Codes",
       .tag = "TTTT",
       .type = ConversionType::TaxAuthority,
       .grid = "BKDistributionCodesGrid",
       .gridControl = "agBKBankDistributionCodes",
       .columns = {{K::FromClass, "From Tax Class", 109, 1, 2},
                   {K::ToClass, "To Tax Class", 99, 1, 2},
                   {K::TaxIncluded, "Tax Included", 80}},
       .gridTag = "TTTT"},
  };
}

std::vector<KindDef> MakeKinds() {
  const std::vector<std::int32_t> itemClasses = {4, 3, 4, 3};
  return {
      {.tab = "AP",
       .checkBox = "chkVendors",
       .checkBoxCaption = "Convert Vendors",
       .procedure = "ConvertVendors",
       .sources = {{"adsAPVEN", "AP0015"}, {"adsAPVENO", "AP0407", "adsAPVEN"}},
       .logName = "AP_Vendors",
       .mapping = "frmAPVendorTaxes",
       .ranges = {R{"afecFromVendor", "afecToVendor", "Vendor", "Vendor", "VENDORID", "adsAPVEN", 1,
                    F::Vendor}},
       .taxGroupField = "CODETAXGRP",
       .lTaxGroupIDX = 35,
       .taxClassFieldPrefix = "TAXCLASS",
       .criteria = "VendorCriteria"},
      {.tab = "AP",
       .checkBox = "chkVendorGroups",
       .checkBoxCaption = "Convert Vendor Groups",
       .procedure = "ConvertVendorGroups",
       .sources = {{"adsAPVGR", "AP0016"}, {"adsAPVGRO", "AP0408", "adsAPVGR"}},
       .logName = "AP_Vendor_Groups",
       .mapping = "frmAPVendorTaxes",
       .ranges = {R{"afecFromVendorGroup", "afecToVendorGroup", "Vendor Group", "Vendor Group",
                    "GROUPID", "adsAPVGR", 1, F::VendorGroup}},
       .taxGroupField = "TAXGRP",
       .lTaxGroupIDX = 18,
       .taxClassFieldPrefix = "TAXCLASS",
       .criteria = "VendorGroupCriteria"},
      {.tab = "AP",
       .checkBox = "chkRecurringPayables",
       .checkBoxCaption = "Convert Recurring Payables",
       .procedure = "ConvertRecurringPayables",
       .sources = {{"adsAPRPH", "AP0064"},
                   {"adsAPRPD", "AP0065", "adsAPRPH"},
                   {"adsAPRPHO", "AP0405", "adsAPRPH"}},
       .logName = "AP_Recurring_Payables",
       .mapping = "frmAPVendorTaxes",
       .ranges = {R{"afecFromPayableCode", "afecToPayableCode", "Recurring Payables Code",
                    "Recurring Payables Code", "IDRECURR", "adsAPRPH", 2, F::RecurringPayable, 1},
                  R{"afecFromPayableCodeVendor", "afecToPayableCodeVendor",
                    "Recurring Payables Vendor", "Recurring Payables Vendor", "IDVEND", "adsAPRPH",
                    1, F::Vendor}},
       // The filter takes the vendor first, as the view's key does.
       .filterOrder = {1, 0},
       .taxGroupField = "TAXGRP",
       .lTaxGroupIDX = 26,
       .taxClassFieldPrefix = "TAXCLASS",
       .criteria = "RecurringPayableCriteria"},
      {.tab = "AR",
       .checkBox = "chkCustomers",
       .checkBoxCaption = "Convert Customers",
       .procedure = "ConvertCustomers",
       .sources = {{"adsARCUS", "AR0024"}, {"adsARCUSO", "AR0400", "adsARCUS"}},
       .logName = "AR_Customers",
       .mapping = "frmARCustomerTaxes",
       .ranges = {R{"afecFromCustomer", "afecToCustomer", "Customer", "Customer", "IDCUST",
                    "adsARCUS", 1, F::Customer}},
       .taxGroupField = "CODETAXGRP",
       .lTaxGroupIDX = 38,
       .taxClassFieldPrefix = "TAXSTTS",
       .taxRegistrationFieldPrefix = "IDTAXREGI",
       .criteria = "CustomerCriteria"},
      {.tab = "AR",
       .checkBox = "chkCustomerGroups",
       .checkBoxCaption = "Convert Customer Groups",
       .procedure = "ConvertCustomerGroups",
       .sources = {{"adsARGRO", "AR0025"}, {"adsARGROO", "AR0410", "adsARGRO"}},
       .logName = "AR_Customer_Groups",
       .mapping = "frmARCustomerTaxes",
       .ranges = {R{"afecFromCustomerGroup", "afecToCustomerGroup", "Customer Tax Group",
                    "Customer Tax Group", "IDGRP", "adsARGRO", 1, F::CustomerGroup}},
       .taxGroupField = "CODETAXGRP",
       .lTaxGroupIDX = 35,
       .taxClassFieldPrefix = "TAXSTTS",
       .criteria = "CustomerGroupCriteria"},
      {.tab = "AR",
       .checkBox = "chkCustomerShipTo",
       .checkBoxCaption = "Convert Customer Ship-To Locations",
       .procedure = "ConvertCustomerShipTo",
       .sources = {{"adsARCSP", "AR0023"}, {"adsARCSPO", "AR0412", "adsARCSP"}},
       .logName = "AR_Customer_Ship_To_Adresses",
       .mapping = "frmARCustomerTaxes",
       .ranges = {R{"afecFromCustomerShipTo", "afecToCustomerShipTo", "Customer Ship-To Location",
                    "Customer Ship-To Location", "IDCUST", "adsARCUS", 1, F::Customer}},
       .taxGroupField = "CODETAXGRP",
       .lTaxGroupIDX = 20,
       .taxClassFieldPrefix = "TAXSTTS",
       .criteria = "ShipToCriteria"},
      {.tab = "AR",
       .checkBox = "chkRecurringCharges",
       .checkBoxCaption = "Convert Recurring Charges",
       .procedure = "ConvertRecurringCharges",
       .sources = {{"adsARSIA", "AR0046"},
                   {"adsARSID", "AR0047", "adsARSIA"},
                   {"adsARSIAO", "AR0405", "adsARSIA"},
                   {"adsARSIDO", "AR0404", "adsARSID"}},
       .logName = "AR_Recurring_Charges",
       .mapping = "frmARCustomerTaxes",
       .ranges = {R{"afecFromChargeCode", "afecToChargeCode", "A/R Recurring Charge Code",
                    "A/R Recurring Charge Code", "IDSTDINVC", "adsARSIA", 1, F::RecurringCharge},
                  R{"afecFromChargeCodeCustomer", "afecToChargeCodeCustomer",
                    "Recurring Charge Customer", "Recurring Charge Code Customer", "IDCUST",
                    "adsARSIA", 2, F::Customer, 0, V::WhenAROption}},
       .taxGroupField = "CODETAXGRP",
       .lTaxGroupIDX = 39,
       .taxClassFieldPrefix = "TAXSTTS",
       .criteria = "RecurringChargeCriteria"},
      {.tab = "AR",
       .checkBox = "chkARItemTaxes",
       .checkBoxCaption = "Convert Items",
       .procedure = "ConvertARItemTaxes",
       .sources = {{"adsARITH", "AR0010"},
                   {"adsARITD", "AR0009", "adsARITH"},
                   {"adsARITT", "AR0011", "adsARITH"}},
       .detailSource = "adsARITT",
       .logName = "AR_Items",
       .mapping = "frmARItems",
       .ranges = {R{"afecFromARItem", "afecToARItem", "A/R Item Number", "A/R Item Number",
                    "IDITEM", "adsARITH", 1, F::ARItem}},
       .lAuhorityIDX = 2,
       .classFieldIDX = {3, 3},
       .taxIncludedFieldIDX = {4},
       .criteria = "ARItemCriteria"},
      {.tab = "IC",
       .checkBox = "chkItems",
       .checkBoxCaption = "Convert Items",
       .procedure = "ConvertItems",
       .sources = {{"adsICITEM", "IC0310"},
                   {"adsICITMTX", "IC0330", "adsICITEM"},
                   {"adsICITMV", "IC0340", "adsICITEM"},
                   {"adsICUNIT", "IC0750", "adsICITEM"}},
       .detailSource = "adsICITMTX",
       .logName = "IC_Items",
       .mapping = "frmICItems",
       .ranges = {R{"afecFromItem", "afecToItem", "Item Number", "Item Number", "ITEMNO",
                    "adsICITEM", 7, F::Item, 0, V::Always, kItemNumber}},
       .lAuhorityIDX = 2,
       .classFieldIDX = itemClasses,
       .criteria = "ItemCriteria"},
      {.tab = "IC",
       .checkBox = "chkItemCategories",
       .checkBoxCaption = "Convert Categories",
       .procedure = "ConvertItemCategories",
       .sources = {{"adsICCATG", "IC0210"}, {"adsICCATTX", "IC0220", "adsICCATG"}},
       .detailSource = "adsICCATTX",
       .logName = "IC_Categories",
       .mapping = "frmICItems",
       .ranges = {R{"afecFromItemCategory", "afecToItemCategory", "Category", "Category",
                    "CATEGORY", "adsICCATG", 1, F::Category}},
       .lAuhorityIDX = 2,
       .classFieldIDX = itemClasses,
       .criteria = "CategoryCriteria"},
      {.tab = "IC",
       .checkBox = "chkItemPricingTaxes",
       .checkBoxCaption = "Convert Item Pricing",
       .procedure = "ConvertItemPricing",
       .sources = {{"adsICPRIC", "IC0480"},
                   {"adsICPRICP", "IC0480", "adsICPRIC"},
                   {"adsICPRTX", "IC0490", "adsICPRIC"}},
       .detailSource = "adsICPRTX",
       .logName = "IC_Item_Pricing",
       .mapping = "frmICItemPricing",
       .ranges = {R{"afecFromItemPrice", "afecToItemPrice", "Item Price", "Item Price", "ITEMNO",
                    "adsICPRIC", 70, F::Item, 0, V::Always, kItemNumber},
                  R{"afecFromItemPriceList", "afecToItemPriceList", "Item Price List Code",
                    "Item Price List Code", "PRICELIST", "adsICPRIC", 3, F::PriceList},
                  R{"afecFromItemPriceCurrency", "afecToItemPriceCurrency", "Item Price Currency",
                    "Item Price Currency", "CURRENCY", "adsICPRIC", 1, F::Currency, 0,
                    V::WhenICOption}},
       .lAuhorityIDX = 4,
       .classFieldIDX = {6, 6},
       .criteria = "ItemPricingCriteria"},
      {.tab = "IC",
       .checkBox = "chkPriceListCodes",
       .checkBoxCaption = "Convert Price List Codes",
       .procedure = "ConvertPriceListCodes",
       .sources = {{"adsICPCOD", "IC0390"}, {"adsICPCTX", "IC0395", "adsICPCOD"}},
       .detailSource = "adsICPCTX",
       .logName = "IC_Price_List_Codes",
       .mapping = "frmICItemPricing",
       .ranges = {R{"afecFromPriceList", "afecToPriceList", "Item Price List Code",
                    "Item Price List Code", "PRICELIST", "adsICPCOD", 1, F::PriceList}},
       .lAuhorityIDX = 2,
       .classFieldIDX = {4, 4},
       .criteria = "PriceListCriteria"},
      {.tab = "OE",
       .checkBox = "chkOETemplateCodes",
       .checkBoxCaption = "Convert Template Codes",
       .procedure = "ConvertOETemplateCodes",
       .sources = {{"adsOEPLAT", "OE0540"}},
       .logName = "OE_Template_Codes",
       .mapping = "frmOETemplateCodes",
       .ranges = {R{"afecFromOETemplate", "afecToOETemplate", "O/E Template Code",
                    "O/E Template Code", "TEMPLATE", "adsOEPLAT", 1, F::OETemplate}},
       .taxGroupField = "TAXGROUP",
       .lTaxGroupIDX = 14,
       .criteria = "OETemplateCriteria"},
      {.tab = "OE",
       .checkBox = "chkOEMiscCharges",
       .checkBoxCaption = "Convert Miscellaneous Charges",
       .procedure = "ConvertOEMiscCharges",
       .sources = {{"adsOEMISC", "OE0440"},
                   {"adsOEMISCO", "OE0450", "adsOEMISC"},
                   {"adsOEMISCT", "OE0460", "adsOEMISC"}},
       .detailSource = "adsOEMISCT",
       .logName = "OE_Miscellaneous_Charges",
       .mapping = "frmOEMiscCharges",
       // A reversed currency range has always been let through to the run, where it simply
       // matches no record.
       .ranges = {R{"afecFromMiscCharge", "afecToMiscCharge", "O/E Miscellaneous Charge Code",
                    "O/E Miscellaneous Charge Code", "MISCCHARGE", "adsOEMISC", 2, F::MiscCharge,
                    1},
                  R{"afecFromMiscChargeCurrency", "afecToMiscChargeCurrency",
                    "Miscellaneous Charge Currency", "O/E Miscellaneous Charge Currency",
                    "CURRENCY", "adsOEMISC", 1, F::Currency, 0, V::WhenICOption, false,
                    kNotChecked}},
       .lAuhorityIDX = 3,
       .classFieldIDX = {4, 4},
       .criteria = "MiscChargeCriteria"},
      {.tab = "PO",
       .checkBox = "chkPOTemplateCodes",
       .checkBoxCaption = "Convert Template Codes",
       .procedure = "ConvertPOTemplateCodes",
       .sources = {{"adsPOPLAT", "PO0605"}},
       .logName = "PO_Template_Codes",
       .mapping = "frmPOTemplateCodes",
       .ranges = {R{"afecFromPOTemplate", "afecToPOTemplate", "P/O Template Code",
                    "P/O Template Code", "TEMPLATE", "adsPOPLAT", 1, F::POTemplate}},
       .taxGroupField = "TAXGROUP",
       .lTaxGroupIDX = 12,
       .criteria = "POTemplateCriteria"},
      {.tab = "PO",
       .checkBox = "chkPOAdditionalCosts",
       .checkBoxCaption = "Convert Additional Costs",
       .procedure = "ConvertPOAdditionalCosts",
       .sources = {{"adsPOACST", "PO0300"},
                   {"adsPOACD", "PO0290", "adsPOACST"},
                   {"adsPOACSTO", "PO0299", "adsPOACST"}},
       .detailSource = "adsPOACD",
       .logName = "PO_Additional_Costs",
       .mapping = "frmPOAdditionalCosts",
       .ranges = {R{"afecFromAdditionalCost", "afecToAdditionalCost", "P/O Additional Cost Code",
                    "P/O Additional Cost Code", "ADDCOST", "adsPOACST", 1, F::AdditionalCost},
                  R{"afecFromAdditionalCostCurrency", "afecToAdditionalCostCurrency",
                    "Additional Cost Currency", "P/O Additional Cost Currency", "CURRENCY",
                    "adsPOACST", 10, F::Currency, 0, V::WhenICOption}},
       .lAuhorityIDX = 2,
       .classFieldIDX = {4, 4},
       .criteria = "AdditionalCostCriteria"},
      {.tab = "PO",
       .checkBox = "chkVendorContractCosts",
       .checkBoxCaption = "Convert Vendor Contract Costs",
       .procedure = "ConvertVendorContractCosts",
       .sources = {{"adsPOVUPR", "PO0181"},
                   {"adsPOVUMB", "PO0191", "adsPOVUPR"},
                   {"adsPOVUMS", "PO0192", "adsPOVUPR"},
                   {"adsPOVUTX", "PO0183", "adsPOVUPR"}},
       .detailSource = "adsPOVUTX",
       .logName = "PO_Vendor_Contract_Costs",
       .mapping = "frmVendorContractCosts",
       .ranges = {R{"afecPOContractCostItemFrom", "afecPOContractCostItemTo",
                    "P/O Contractl Cost Item", "P/O Contractl Cost Item", "ITEMNO", "adsPOVUPR", 1,
                    F::Item, 0, V::Always, kItemNumber},
                  R{"afecPOContractCostVendorFrom", "afecPOContractCostVendorTo",
                    "Contract Cost Vendor", "P/O Contractl Cost Vendor", "VDCODE", "adsPOVUPR", 2,
                    F::Vendor}},
       .lAuhorityIDX = 3,
       .classFieldIDX = {4, 4},
       .criteria = "ContractCostCriteria"},
      {.tab = "BK",
       .checkBox = "chkConvertBanks",
       .checkBoxCaption = "Convert Banks",
       .procedure = "ConvertBanks",
       .sources = {{"adsBKACCT", "BK0001"}},
       .logName = "BK_Banks",
       .mapping = "frmBKBanks",
       .ranges = {R{"afecFromBank", "afecToBank", "Bank Code", "Bank Code", "BANK", "adsBKACCT", 1,
                    F::Bank}},
       .taxGroupField = "CODETXGRP",
       .lTaxGroupIDX = 184,
       .taxClassFieldPrefix = "TXVCLSS",
       .criteria = "BankCriteria"},
      {.tab = "BK",
       .checkBox = "chkConvertBankDistributionCodes",
       .checkBoxCaption = "Convert Bank Distribution Codes",
       .procedure = "ConvertBankDistributionCodes",
       .sources = {{"adsBKTT", "BK0003"}, {"adsBKTTX", "BK0860", "adsBKTT"}},
       .detailSource = "adsBKTTX",
       .logName = "BK_BankDistributionCodes",
       .mapping = "frmBKBankDistributionCodes",
       .ranges = {R{"afecFromBankDistributionCode", "afecToBankDistributionCode",
                    "Bank Distribution Code", "Bank Distribution Code", "TYPE", "adsBKTT", 1,
                    F::DistributionCode}},
       .lAuhorityIDX = 2,
       .classFieldIDX = {3, 3},
       .taxIncludedFieldIDX = {4},
       .criteria = "DistributionCodeCriteria"},
  };
}

const MappingDef& MappingNamed(const std::string& frame) {
  for (const MappingDef& mapping : Mappings()) {
    if (mapping.frame == frame) return mapping;
  }
  throw std::out_of_range("No section is named " + frame + ".");
}

std::string ViewOf(const KindDef& kind, const std::string& source) {
  for (const SourceDef& def : kind.sources) {
    if (def.name == source) return def.view;
  }
  return "";
}

/// Fills in what the table's own entries imply: the header and detail views, the mapping's
/// grids, the filter's conditions and the log's range lines, and each pair's kind.
void Derive(KindDef& kind) {
  const MappingDef& mapping = MappingNamed(kind.mapping);
  kind.headerSource = kind.sources.front().name;
  kind.headerView = kind.sources.front().view;
  kind.detailView = ViewOf(kind, kind.detailSource);
  kind.type = mapping.type;
  if (mapping.type == ConversionType::TaxGroup) {
    kind.fromGrid = mapping.from.name;
    kind.toGrid = mapping.to.name;
  } else {
    kind.authorityGrid = mapping.grid;
  }
  std::vector<int> order = kind.filterOrder;
  if (order.empty()) {
    for (int i = 0; i < static_cast<int>(kind.ranges.size()); ++i) order.push_back(i);
  }
  for (int index : order) {
    const RangePairDef& pair = kind.ranges.at(static_cast<size_t>(index));
    kind.conditions.push_back({"(" + pair.key + ">=", pair.from, pair.itemNumber});
    kind.conditions.push_back({"(" + pair.key + "<=", pair.to, pair.itemNumber});
  }
  if (mapping.type == ConversionType::TaxGroup) {
    kind.conditions.push_back({"(" + kind.taxGroupField + "= ", mapping.from.taxGroupControl});
  }
  for (RangePairDef& pair : kind.ranges) {
    pair.tab = kind.tab;
    pair.checkBox = kind.checkBox;
    pair.firstOfBox = &pair == &kind.ranges.front();
    // A currency range is hidden in a company of one currency; its line would only mislead.
    kind.rangeLines.push_back({pair.from, pair.to, pair.finder == FinderKind::Currency});
  }
}

}  // namespace

std::vector<std::string> MappingDef::SharedControls() const {
  if (type == ConversionType::TaxAuthority) return {gridControl};
  std::vector<std::string> controls = {from.taxGroupControl, to.taxGroupControl};
  for (const TaxGroupSideDef* side : {&from, &to}) {
    if (!side->gridControl.empty()) controls.push_back(side->gridControl);
  }
  return controls;
}

const std::vector<SourceDef>& TaxSources() {
  static const std::vector<SourceDef> sources{
      {"adsTXGRP", "TX0003"}, {"adsTXCLASS", "TX0001"}, {"adsTXAUTH", "TX0002"}};
  return sources;
}

const std::vector<TabDef>& Tabs() {
  static const std::vector<TabDef> tabs{
      {"AP", "Accounts Payable"}, {"AR", "Accounts Receivable"}, {"IC", "Inventory Control"},
      {"OE", "Order Entry"},      {"PO", "Purchase Orders"},     {"BK", "Bank"},
  };
  return tabs;
}

const std::vector<std::string>& RunTabs() {
  static const std::vector<std::string> codes = [] {
    std::vector<std::string> result;
    for (const TabDef& tab : Tabs()) result.push_back(tab.code);
    return result;
  }();
  return codes;
}

int TabIndexOf(const std::string& code) {
  const std::vector<std::string>& codes = RunTabs();
  const auto at = std::find(codes.begin(), codes.end(), code);
  return at == codes.end() ? -1 : static_cast<int>(at - codes.begin());
}

const std::vector<MappingDef>& Mappings() {
  static const std::vector<MappingDef> mappings = MakeMappings();
  return mappings;
}

const MappingDef& MappingOf(const KindDef& kind) {
  return MappingNamed(kind.mapping);
}

const std::vector<KindDef>& Kinds() {
  static const std::vector<KindDef> kinds = [] {
    std::vector<KindDef> table = MakeKinds();
    for (KindDef& kind : table) Derive(kind);
    return table;
  }();
  return kinds;
}

std::vector<const KindDef*> TabKinds(const std::string& tab) {
  std::vector<const KindDef*> kinds;
  for (const KindDef& kind : Kinds()) {
    if (kind.tab == tab) kinds.push_back(&kind);
  }
  return kinds;
}

const KindDef& KindTargetOf(const std::string& procedure) {
  for (const KindDef& kind : Kinds()) {
    if (kind.procedure == procedure) return kind;
  }
  throw std::out_of_range("No conversion target is named " + procedure + ".");
}

const KindDef* KindOfCheckBox(const std::string& checkBox) {
  for (const KindDef& kind : Kinds()) {
    if (kind.checkBox == checkBox) return &kind;
  }
  return nullptr;
}

const KindDef* KindOfLogName(const std::string& logName) {
  for (const KindDef& kind : Kinds()) {
    if (kind.logName == logName) return &kind;
  }
  return nullptr;
}

const std::vector<RangePairDef>& RangePairs() {
  static const std::vector<RangePairDef> pairs = [] {
    std::vector<RangePairDef> all;
    for (const KindDef& kind : Kinds())
      all.insert(all.end(), kind.ranges.begin(), kind.ranges.end());
    return all;
  }();
  return pairs;
}

std::vector<SourceDef> TabSources(const std::string& tab) {
  std::vector<SourceDef> sources;
  for (const KindDef* kind : TabKinds(tab)) {
    sources.insert(sources.end(), kind->sources.begin(), kind->sources.end());
  }
  return sources;
}

std::vector<SourceDef> AllSources() {
  std::vector<SourceDef> sources = TaxSources();
  for (const std::string& tab : RunTabs()) {
    for (const SourceDef& source : TabSources(tab)) sources.push_back(source);
  }
  return sources;
}

const FinderSetup& FinderSetupOf(FinderKind kind) {
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

}  // namespace convert

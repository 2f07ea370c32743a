#include "standin/sample/SampleStory.h"

#include "standin/sample/RecordWriter.h"
#include "standin/sample/SampleNames.h"

#include <array>
#include <limits>

namespace erp {
namespace {

constexpr size_t kUnlimited = std::numeric_limits<size_t>::max();

// Kinds whose records hang off another record (a vendor, a customer, an item) take two records
// per owner: the owner is index / 2 and the pair's second key varies with index % 2 and the owner.
size_t owner(size_t index) {
  return index / 2;
}
size_t pairChoice(size_t index) {
  return index % 2 + 2 * (owner(index) % 3);
}

void setItem(RecordWriter& writer, const ItemNumber& item) {
  writer.set("ITEMNO", item.unformatted);
  if (writer.hasField("FMTITEMNO")) writer.set("FMTITEMNO", item.formatted);
}

const CodeFamilies kPayables{{{"RENT", "Monthly office rent"},
                              {"LEASE", "Equipment lease"},
                              {"INSURANCE", "Business insurance premium"},
                              {"CLEANING", "Office cleaning contract"},
                              {"UTILITIES", "Hydro and water"},
                              {"SECURITY", "Alarm monitoring"}}};
const CodeFamilies kShipTo{{{"MAIN", "Head office"},
                            {"WHSE", "Warehouse"},
                            {"STORE1", "Store 1"},
                            {"STORE2", "Store 2"},
                            {"EAST", "East branch"},
                            {"WEST", "West branch"}}};
const CodeFamilies kCharges{{{"MAINT", "Monthly maintenance"},
                             {"SUPPORT", "Support contract"},
                             {"RENTAL", "Equipment rental"},
                             {"LEASE", "Lease payment"},
                             {"HOSTING", "Web hosting"},
                             {"SERVICE", "Service plan"}}};
const CodeFamilies kArItems{{{"CONSULT", "Consulting hours"},
                             {"INSTALL", "Installation"},
                             {"REPAIR", "Repair labour"},
                             {"TRAIN", "Training session"},
                             {"SUPPORT", "Support call"},
                             {"FREIGHT", "Delivery charge"}}};
const CodeFamilies kItemLines{{{"", "Hand tools"},
                               {"", "Power tools"},
                               {"", "Electrical fittings"},
                               {"", "Plumbing fittings"},
                               {"", "Interior paint"},
                               {"", "Garden supplies"}}};
const CodeFamilies kOeTemplates{{{"STD", "Standard order"},
                                 {"RSH", "Rush order"},
                                 {"EXP", "Export order"},
                                 {"CON", "Contractor order"},
                                 {"WEB", "Web store order"},
                                 {"PHN", "Telephone order"}}};
const CodeFamilies kMiscCharges{{{"FRT", "Freight"},
                                 {"HDL", "Handling"},
                                 {"INS", "Shipping insurance"},
                                 {"RSH", "Rush fee"},
                                 {"ENV", "Environmental fee"},
                                 {"DEP", "Container deposit"}}};
const CodeFamilies kPoTemplates{{{"STD", "Standard purchase"},
                                 {"BLK", "Blanket order"},
                                 {"DRP", "Drop shipment"},
                                 {"RUS", "Rush purchase"},
                                 {"SVC", "Service purchase"},
                                 {"CAP", "Capital purchase"}}};
const CodeFamilies kAdditionalCosts{{{"FRT", "Inbound freight"},
                                     {"DTY", "Customs duty"},
                                     {"BRK", "Brokerage"},
                                     {"INS", "Cargo insurance"},
                                     {"HDL", "Handling"},
                                     {"CRT", "Crating"}}};
const CodeFamilies kBanks{{{"TD", "TD Canada Trust operating"},
                           {"RBC", "Royal Bank operating"},
                           {"BMO", "Bank of Montreal payroll"},
                           {"CIBC", "CIBC US dollar"},
                           {"BNS", "Scotiabank savings"},
                           {"NBC", "National Bank operating"}}};
const CodeFamilies kDistributionCodes{{{"SVC", "Service charges"},
                                       {"INT", "Interest earned"},
                                       {"NSF", "NSF cheque fees"},
                                       {"WIR", "Wire transfer fees"},
                                       {"FEE", "Account fees"},
                                       {"CHG", "Card charges"}}};

const std::array<RecordKind, 19> kRecordKinds{{
    {"vendors", "AP", "AP0015", "", 300, kUnlimited,
     [](RecordWriter& w, size_t i) { w.set("VENDORID", vendorNumber(i)); },
     [](size_t i) { return partyOf(i, TaxState::Before).name; }},
    {"vendor-groups", "AP", "AP0016", "", 120, familyCapacity(3),
     [](RecordWriter& w, size_t i) { w.set("GROUPID", vendorGroupCode(i)); },
     [](size_t i) { return familyLabel(kVendorGroupFamilies, i, 3); }},
    {"recurring-payables", "AP", "AP0064", "", 300, kUnlimited,
     [](RecordWriter& w, size_t i) {
       w.set("IDVEND", vendorNumber(owner(i)));
       w.set("IDRECURR", kPayables[pairChoice(i)].prefix);
     },
     [](size_t i) { return std::string(kPayables[pairChoice(i)].label); }},

    {"customers", "AR", "AR0024", "", 300, kUnlimited,
     [](RecordWriter& w, size_t i) { w.set("IDCUST", customerNumber(i)); },
     [](size_t i) { return partyOf(i, TaxState::Before).name; }},
    {"customer-groups", "AR", "AR0025", "", 120, familyCapacity(3),
     [](RecordWriter& w, size_t i) { w.set("IDGRP", customerGroupCode(i)); },
     [](size_t i) { return familyLabel(kCustomerGroupFamilies, i, 3); }},
    {"ship-to", "AR", "AR0023", "", 300, kUnlimited,
     [](RecordWriter& w, size_t i) {
       w.set("IDCUST", customerNumber(owner(i)));
       w.set("IDCUSTSHPT", kShipTo[pairChoice(i)].prefix);
     },
     [](size_t i) { return std::string(kShipTo[pairChoice(i)].label); }},
    {"recurring-charges", "AR", "AR0046", "", 300, kUnlimited,
     [](RecordWriter& w, size_t i) {
       w.set("IDCUST", customerNumber(owner(i)));
       w.set("IDSTDINVC", kCharges[pairChoice(i)].prefix);
     },
     [](size_t i) { return std::string(kCharges[pairChoice(i)].label); }},
    {"ar-items", "AR", "AR0010", "AR0011", 300, kUnlimited,
     [](RecordWriter& w, size_t i) { w.set("IDITEM", familyCode(kArItems, i, 3)); },
     [](size_t i) { return familyLabel(kArItems, i, 3); }},

    {"items", "IC", "IC0310", "IC0330", 300, kUnlimited,
     [](RecordWriter& w, size_t i) {
       setItem(w, itemNumber(i));
       w.set("CATEGORY", categoryCode(i % 120));
     },
     [](size_t i) { return familyLabel(kItemLines, i, 3); }},
    {"categories", "IC", "IC0210", "IC0220", 120, familyCapacity(2),
     [](RecordWriter& w, size_t i) { w.set("CATEGORY", categoryCode(i)); },
     [](size_t i) { return familyLabel(kCategoryFamilies, i, 2); }},
    {"item-pricing", "IC", "IC0480", "IC0490", 300, kUnlimited,
     [](RecordWriter& w, size_t i) {
       w.set("CURRENCY", "CAD");
       setItem(w, itemNumber(owner(i)));
       w.set("PRICELIST", priceListCode(i % 2));
     },
     [](size_t i) { return familyLabel(kItemLines, owner(i), 3); }},
    {"price-lists", "IC", "IC0390", "IC0395", 120, familyCapacity(2) + 2,
     [](RecordWriter& w, size_t i) { w.set("PRICELIST", priceListCode(i)); },
     [](size_t i) {
       if (i < 2) return std::string(i == 0 ? "Retail prices" : "Wholesale prices");
       return familyLabel(kPriceListFamilies, i - 2, 2);
     }},

    {"oe-templates", "OE", "OE0540", "", 120, familyCapacity(3),
     [](RecordWriter& w, size_t i) { w.set("TEMPLATE", familyCode(kOeTemplates, i, 3)); },
     [](size_t i) { return familyLabel(kOeTemplates, i, 3); }},
    {"misc-charges", "OE", "OE0440", "OE0460", 120, familyCapacity(3),
     [](RecordWriter& w, size_t i) {
       w.set("CURRENCY", "CAD");
       w.set("MISCCHARGE", familyCode(kMiscCharges, i, 3));
     },
     [](size_t i) { return familyLabel(kMiscCharges, i, 3); }},

    {"po-templates", "PO", "PO0605", "", 120, familyCapacity(3),
     [](RecordWriter& w, size_t i) { w.set("TEMPLATE", familyCode(kPoTemplates, i, 3)); },
     [](size_t i) { return familyLabel(kPoTemplates, i, 3); }},
    {"additional-costs", "PO", "PO0300", "PO0290", 120, familyCapacity(3),
     [](RecordWriter& w, size_t i) { w.set("ADDCOST", familyCode(kAdditionalCosts, i, 3)); },
     [](size_t i) { return familyLabel(kAdditionalCosts, i, 3); }},
    {"contract-costs", "PO", "PO0181", "PO0183", 300, kUnlimited,
     [](RecordWriter& w, size_t i) {
       setItem(w, itemNumber(owner(i)));
       w.set("VDCODE", vendorNumber(i % 2 + 2 * (owner(i) % 75)));
     },
     [](size_t i) { return "Contract price, " + familyLabel(kItemLines, owner(i), 3); }},

    {"banks", "BK", "BK0001", "", 120, familyCapacity(3),
     [](RecordWriter& w, size_t i) { w.set("BANK", familyCode(kBanks, i, 3)); },
     [](size_t i) { return familyLabel(kBanks, i, 3); }},
    {"distribution-codes", "BK", "BK0003", "BK0860", 120, familyCapacity(3),
     [](RecordWriter& w, size_t i) { w.set("TYPE", familyCode(kDistributionCodes, i, 3)); },
     [](size_t i) { return familyLabel(kDistributionCodes, i, 3); }},
}};

}  // namespace

std::span<const RecordKind> recordKinds() {
  return kRecordKinds;
}

const RecordKind* findRecordKind(const std::string& name) {
  for (const RecordKind& kind : recordKinds()) {
    if (name == kind.name) return &kind;
  }
  return nullptr;
}

}  // namespace erp

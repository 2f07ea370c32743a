#include "standin/catalog/ViewCatalog.h"

#include "standin/catalog/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

namespace erp {
namespace {

const ViewDef& view(const std::string& id) {
  return ViewCatalog::standard().get(id);
}

std::vector<std::string> keyNames(const ViewDef& v, size_t key) {
  std::vector<std::string> names;
  if (key >= v.keys.size()) return names;
  for (int number : v.keys[key].fields) names.push_back(v.field(number)->name);
  return names;
}

TEST(StandardCatalog, GivesEveryFieldANameDescriptionAndSize) {
  for (const ViewDef& v : ViewCatalog::standard().views()) {
    EXPECT_FALSE(v.description.empty()) << v.id;
    for (const FieldDef& f : v.fields) {
      SCOPED_TRACE(v.id + " field " + std::to_string(f.number));
      EXPECT_FALSE(f.name.empty());
      for (char c : f.name) EXPECT_TRUE(std::isupper(c) || std::isdigit(c)) << f.name;
      EXPECT_FALSE(f.description.empty());
      EXPECT_LT(0, f.size);
    }
  }
}

TEST(StandardCatalog, KeysEveryViewButTheOptionViews) {
  for (const ViewDef& v : ViewCatalog::standard().views()) {
    const bool optionView = v.id == "AR0001" || v.id == "IC0380";
    EXPECT_EQ(optionView, v.singleRecord) << v.id;
    EXPECT_EQ(v.singleRecord, v.keys.empty()) << v.id;
    for (const KeyDef& key : v.keys) EXPECT_FALSE(key.fields.empty()) << v.id << " " << key.name;
  }
}

TEST(StandardCatalog, ComposesDetailsUnderTheirHeadersKeys) {
  for (const ViewDef& detail : ViewCatalog::standard().views()) {
    if (!detail.composition) continue;
    SCOPED_TRACE(detail.id);
    const ViewDef* header = ViewCatalog::standard().find(detail.composition->headerView);
    ASSERT_NE(nullptr, header);
    std::vector<std::string> headerKey = keyNames(*header, 0);
    std::vector<std::string> detailKey = keyNames(detail, 0);
    ASSERT_LT(headerKey.size(), detailKey.size());
    detailKey.resize(headerKey.size());
    EXPECT_EQ(headerKey, detailKey);
  }
}

TEST(StandardCatalog, ChecksEveryTextKeyField) {
  for (const ViewDef& v : ViewCatalog::standard().views()) {
    if (v.keys.empty()) continue;
    for (int number : v.keys[0].fields) {
      const FieldDef& f = *v.field(number);
      if (f.type != FieldType::Text) continue;
      EXPECT_TRUE(f.check == Check::UpperCode || f.check == Check::ItemNumber ||
                  f.check == Check::Currency || f.check == Check::TaxAuthority)
          << v.id << " " << f.name;
    }
  }
}

TEST(StandardCatalog, ChecksEveryCurrencyFieldAgainstTheCurrencies) {
  for (const ViewDef& v : ViewCatalog::standard().views()) {
    const FieldDef* currency = v.field("CURRENCY");
    if (currency == nullptr) continue;
    EXPECT_EQ(Check::Currency, currency->check) << v.id;
    EXPECT_EQ(3, currency->size) << v.id;
  }
}

// A class check that reads the wrong field would verify against the wrong group or authority.
TEST(StandardCatalog, PointsEveryTaxCheckAtItsTaxField) {
  for (const ViewDef& v : ViewCatalog::standard().views()) {
    for (const FieldDef& f : v.fields) {
      SCOPED_TRACE(v.id + " " + f.name);
      if (f.check == Check::TaxClassOfGroup) {
        ASSERT_NE(nullptr, v.field(f.ref));
        EXPECT_EQ(Check::TaxGroup, v.field(f.ref)->check);
        EXPECT_EQ(v.field(f.ref)->ttype, f.ttype);
      }
      if (f.check == Check::TaxClassOfAuthority || f.check == Check::TaxIncluded) {
        ASSERT_NE(nullptr, v.field(f.ref));
        EXPECT_EQ(Check::TaxAuthority, v.field(f.ref)->check);
      }
      if (f.check == Check::TaxGroup || f.check == Check::TaxClassOfGroup ||
          f.check == Check::TaxClassOfAuthority) {
        EXPECT_TRUE(f.ttype == 1 || f.ttype == 2);
      }
      // Groups and authorities are 12-character codes, classes numbers, tax included a flag.
      const bool code = f.check == Check::TaxGroup || f.check == Check::TaxAuthority;
      const bool number =
          f.check == Check::TaxClassOfGroup || f.check == Check::TaxClassOfAuthority;
      EXPECT_TRUE(!code || f.size == 12) << "a code of 12 characters";
      EXPECT_TRUE(!number || f.type == FieldType::Int16) << "a class number";
      EXPECT_TRUE(f.check != Check::TaxIncluded || f.type == FieldType::Boolean) << "a flag";
    }
  }
}

constexpr auto Text = FieldType::Text;
constexpr auto Int16 = FieldType::Int16;
constexpr auto Boolean = FieldType::Boolean;

// The positions the program reads the tax views, the options and the ranges by, as the ERP has
// them.
TEST(Positions, HoldEachFieldTheProgramReadsWithItsTypeAndSize) {
  auto check = [](const char* label, const char* id, int number, const char* name, FieldType type,
                  int size) {
    const FieldDef* f = view(id).field(number);
    ASSERT_NE(nullptr, f) << label;
    EXPECT_EQ(name, f->name) << label;
    EXPECT_EQ(type, f->type) << label;
    EXPECT_EQ(size, f->size) << label;
    EXPECT_EQ(f, view(id).field(name)) << label;
  };
  check("GroupCode", "TX0003", 1, "GROUPID", Text, 12);
  check("GroupTransactionType", "TX0003", 2, "TTYPE", Int16, 2);
  check("ClassAuthority", "TX0001", 1, "AUTHORITY", Text, 12);
  check("ClassType", "TX0001", 2, "CLASSTYPE", Int16, 2);
  check("ClassAxis", "TX0001", 3, "CLASSAXIS", Int16, 2);
  check("ClassNumber", "TX0001", 4, "CLASS", Int16, 2);
  check("ClassDescription", "TX0001", 5, "DESC", Text, 60);
  check("ClassExempt", "TX0001", 6, "EXEMPT", Boolean, 2);
  check("AuthorityCode", "TX0002", 1, "AUTHORITY", Text, 12);
  check("AuthorityDescription", "TX0002", 2, "DESC", Text, 60);
  check("AuthorityAllowsTaxInPrice", "TX0002", 7, "INCLUDABLE", Boolean, 2);
  check("CurrencyCode", "CS0003", 1, "CURID", Text, 3);
  check("AROptionFlag", "AR0001", 6, "SWRCHGCUST", Boolean, 2);
  check("ICOptionFlag", "IC0380", 25, "MULTICURN", Boolean, 2);
  // The range fields: the window fills a "to" field with as many Z as the field holds.
  check("Vendor", "AP0015", 1, "VENDORID", Text, 12);
  check("VendorGroup", "AP0016", 1, "GROUPID", Text, 6);
  check("RecurringPayableCode", "AP0064", 2, "IDRECURR", Text, 16);
  check("RecurringPayableVendor", "AP0064", 1, "IDVEND", Text, 12);
  check("Customer", "AR0024", 1, "IDCUST", Text, 12);
  check("CustomerGroup", "AR0025", 1, "IDGRP", Text, 6);
  check("RecurringChargeCode", "AR0046", 1, "IDSTDINVC", Text, 16);
  check("RecurringChargeCustomer", "AR0046", 2, "IDCUST", Text, 12);
  check("ARItem", "AR0010", 1, "IDITEM", Text, 16);
  check("ItemFormatted", "IC0310", 7, "FMTITEMNO", Text, 24);
  check("ItemUnformatted", "IC0310", 1, "ITEMNO", Text, 24);
  check("Category", "IC0210", 1, "CATEGORY", Text, 6);
  check("ItemPriceItem", "IC0480", 70, "FMTITEMNO", Text, 24);
  check("ItemPriceList", "IC0480", 3, "PRICELIST", Text, 6);
  check("ItemPriceCurrency", "IC0480", 1, "CURRENCY", Text, 3);
  check("ItemPriceUnformatted", "IC0480", 2, "ITEMNO", Text, 24);
  check("PriceList", "IC0390", 1, "PRICELIST", Text, 6);
  check("OETemplate", "OE0540", 1, "TEMPLATE", Text, 6);
  check("MiscCharge", "OE0440", 2, "MISCCHARGE", Text, 6);
  check("MiscChargeCurrency", "OE0440", 1, "CURRENCY", Text, 3);
  check("POTemplate", "PO0605", 1, "TEMPLATE", Text, 6);
  check("AdditionalCost", "PO0300", 1, "ADDCOST", Text, 6);
  check("AdditionalCostCurrency", "PO0300", 10, "CURRENCY", Text, 3);
  check("ContractCostItem", "PO0181", 1, "ITEMNO", Text, 24);
  check("ContractCostVendor", "PO0181", 2, "VDCODE", Text, 12);
  check("Bank", "BK0001", 1, "BANK", Text, 8);
  check("DistributionCode", "BK0003", 1, "TYPE", Text, 6);
}

// Browses and finders follow these orders; a secondary key in the wrong order goes unnoticed
// elsewhere.
TEST(Keys, ListTheirFieldsInOrder) {
  auto check = [](const char* id, size_t key, const std::vector<std::string>& names) {
    EXPECT_EQ(names, keyNames(view(id), key)) << id << " key " << key;
  };
  check("TX0003", 0, {"GROUPID", "TTYPE"});
  check("TX0001", 0, {"AUTHORITY", "CLASSTYPE", "CLASSAXIS", "CLASS"});
  check("AR0024", 0, {"IDCUST"});
  check("AR0023", 0, {"IDCUST", "IDCUSTSHPT"});
  check("AR0046", 0, {"IDCUST", "IDSTDINVC"});
  check("IC0480", 0, {"CURRENCY", "ITEMNO", "PRICELIST"});
  check("OE0440", 0, {"CURRENCY", "MISCCHARGE"});
  check("OE0440", 1, {"MISCCHARGE", "CURRENCY"});
  check("AP0064", 0, {"IDVEND", "IDRECURR"});
  check("AP0064", 1, {"IDRECURR", "IDVEND"});
  check("PO0181", 0, {"ITEMNO", "VDCODE"});
}

// The transaction type of each tax group, and the class type and axis of each class column, decide
// which groups and classes verification accepts; each is written "ttype/axis" in field order.
TEST(TaxFields, CheckTheirTransactionTypeAndClassTypeAndAxis) {
  auto types = [](const char* id) {
    std::string text;
    for (const FieldDef& f : view(id).fields) {
      if (f.check == Check::TaxGroup) text += "g" + std::to_string(f.ttype) + " ";
      if (f.check == Check::TaxClassOfGroup || f.check == Check::TaxClassOfAuthority)
        text += std::to_string(f.ttype) + "/" + std::to_string(f.axis) + " ";
    }
    return text;
  };
  const std::string sales = "g1 1/1 1/1 1/1 1/1 1/1 ", purchases = "g2 2/1 2/1 2/1 2/1 2/1 ";
  for (const char* id : {"AR0024", "AR0025", "AR0023", "AR0046"}) EXPECT_EQ(sales, types(id)) << id;
  for (const char* id : {"AP0015", "AP0016", "AP0064", "BK0001"})
    EXPECT_EQ(purchases, types(id)) << id;
  const std::pair<const char*, const char*> others[] = {
      {"OE0540", "g1 "},      {"PO0605", "g2 "},  {"AR0011", "1/2 "}, {"IC0330", "2/2 1/2 "},
      {"IC0220", "2/2 1/2 "}, {"IC0490", "1/2 "}, {"IC0395", "1/2 "}, {"OE0460", "1/1 "},
      {"PO0290", "2/2 "},     {"PO0183", "2/1 "}, {"BK0860", "1/2 "}};
  for (const auto& [id, expected] : others) EXPECT_EQ(expected, types(id)) << id;
}

TEST(ItemNumbers, AreUnformattedOnVerifyWhereTheProgramPutsThem) {
  for (const char* id : {"IC0310", "IC0330", "IC0480", "IC0490", "PO0181", "PO0183"}) {
    EXPECT_EQ(Check::ItemNumber, view(id).field("ITEMNO")->check) << id;
  }
  EXPECT_EQ(Check::None, view("IC0310").field("FMTITEMNO")->check)
      << "the formatted number must keep its separators";
}

ViewDef twoFieldView(const std::string& id) {
  return ViewBuilder(id, "Test View")
      .code("CODE", "Code", 6)
      .text("DESC", "Description", 60)
      .key("Code", {"CODE"})
      .build();
}

TEST(ViewCatalogConstruction, FindsViewsAndNamesTheUnknownOne) {
  ViewCatalog catalog({twoFieldView("ZZ0001")});
  EXPECT_EQ("ZZ0001", catalog.get("ZZ0001").id);
  EXPECT_EQ(nullptr, catalog.find("ZZ0002"));
  try {
    catalog.get("ZZ0002");
    ADD_FAILURE() << "an unknown view was found";
  } catch (const std::out_of_range& e) {
    EXPECT_NE(std::string::npos, std::string(e.what()).find("ZZ0002"));
  }
}

TEST(ViewCatalogConstruction, RejectsInconsistentViews) {
  auto rejects = [](const char* label, auto breakIt) {
    ViewDef v = twoFieldView("ZZ0001");
    std::vector<ViewDef> views{v};
    breakIt(views);
    EXPECT_THROW(ViewCatalog{views}, std::invalid_argument) << label;
  };
  rejects("gap in numbering", [](auto& views) { views[0].fields[1].number = 3; });
  rejects("duplicate field name", [](auto& views) { views[0].fields[1].name = "CODE"; });
  rejects("duplicate view", [](auto& views) { views.push_back(views[0]); });
  rejects("key on a missing field", [](auto& views) { views[0].keys[0].fields = {3}; });
  rejects("no description", [](auto& views) { views[0].description.clear(); });
}

TEST(ViewDefLookup, AnswersNothingOutsideTheView) {
  ViewDef v = twoFieldView("ZZ0001");
  EXPECT_EQ(nullptr, v.field(0));
  EXPECT_EQ(nullptr, v.field(3));
  EXPECT_EQ(nullptr, v.field("NOPE"));
  EXPECT_EQ("DESC", v.field(2)->name);
}

TEST(ViewBuilderChecks, RefusesDataThatContradictsItself) {
  EXPECT_THROW(ViewBuilder("ZZ0001", "Test").code("CODE", "Code", 6).at(3), std::logic_error);
  EXPECT_THROW(ViewBuilder("ZZ0001", "Test").code("CODE", "Code", 6).key("K", {"NOPE"}),
               std::logic_error);
  EXPECT_THROW(ViewBuilder("ZZ0001", "Test").code("CODE", "Code", 6).taxClassesOfGroup("C", "CODE"),
               std::logic_error);
}

}  // namespace
}  // namespace erp

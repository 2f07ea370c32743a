#include "host/webapi/FilterTranslation.h"
#include "host/webapi/PropertyMaps.h"

#include "standin/catalog/ViewCatalog.h"
#include "standin/filter/Filter.h"

#include <gtest/gtest.h>

namespace host::webapi {
namespace {

const PropertyMaps& Maps() {
  static const PropertyMaps maps;
  return maps;
}

/// The customers' filter as the server takes it: its `$filter`, "every", "none" or the refusal.
std::string Translated(const std::string& filter, const std::string& missing = "") {
  const EntityMap& customers = *Maps().OfView("AR0024");
  const FilterTarget target{*customers.layout, customers.properties,
                            [&](const std::string& property) { return property != missing; }};
  try {
    const ODataFilter translated = TranslateFilter(filter, target);
    if (translated.selects == ODataFilter::Selects::Every) return "every";
    if (translated.selects == ODataFilter::Selects::None) return "none";
    return translated.text;
  } catch (const FilterRefusal& refusal) {
    return refusal.what();
  }
}

TEST(FilterTranslationTest, SelectsExactlyWhatTheErpSelects) {
  auto expect = [](const char* filter, const char* odata) { EXPECT_EQ(odata, Translated(filter)); };
  // The kind's own filter: the program's constants end with a blank, which the ERP ignores.
  expect("(IDCUST>=\"1000 \") AND (IDCUST<=\"ZZZ \") AND (CODETAXGRP= \"OLD \")",
         "(CustomerNumber ge '1000' and CustomerNumber le 'ZZZ' and TaxGroup eq 'OLD')");
  // Left to right, whatever the connectives: A AND B OR C is (A AND B) OR C.
  expect("IDGRP = \"A\" AND IDGRP = \"B\" OR IDGRP = \"C\"",
         "((GroupCode eq 'A' and GroupCode eq 'B') or GroupCode eq 'C')");
  expect("IDGRP = \"A\" OR IDGRP = \"B\" AND IDGRP = \"C\"",
         "((GroupCode eq 'A' or GroupCode eq 'B') and GroupCode eq 'C')");
  expect("(IDGRP = \"A\") AND ((IDGRP = \"B\") OR (IDGRP != \"C\"))",
         "(GroupCode eq 'A' and (GroupCode eq 'B' or GroupCode ne 'C'))");
  expect("idcust = \"A'1\\\" \"", "CustomerNumber eq 'A''1\"'");
  expect("IDCUST LIKE \"10%\"", "startswith(CustomerNumber,'10')");
  expect("IDCUST LIKE \"%10\"", "endswith(CustomerNumber,'10')");
  expect("IDCUST LIKE \"%%10%\"", "substringof('10',CustomerNumber)");
  expect("IDCUST LIKE \"10 \"", "CustomerNumber eq '10'");
  expect("TAXSTTS1 = +01", "TaxClassCode1 eq 1");
  expect("AMTCRLIMT > \"1.50\"", "CreditLimit gt 1.50");
  expect("TAXSTTS1 < TAXSTTS2", "TaxClassCode1 lt TaxClassCode2");
  // A Yes/No field holds 0 or 1, which the server names "No" and "Yes".
  expect("SWHOLD = 1", "OnHold eq 'Yes'");
  expect("SWHOLD < 1", "OnHold eq 'No'");
  // Conditions that hold for every record or none drop out as the ERP's logic lets them.
  expect("(SWHOLD >= 0) AND (IDCUST LIKE \"%\")", "every");
  expect("(IDGRP = \"A\") AND (SWHOLD = 2)", "none");
  expect("(SWHOLD = 2) OR (IDGRP = \"A\")", "GroupCode eq 'A'");
  expect("", "every");
}

TEST(FilterTranslationTest, RefusesByNameWhatCannotBeTranslatedExactly) {
  EXPECT_EQ(
      "IDCUST LIKE \"1_0\" cannot be sent to the Web API, which matches a % only at the "
      "start or the end of a pattern, and no _ at position 13.",
      Translated("(IDCUST LIKE \"1_0\")"));
  EXPECT_EQ(
      "IDCUST LIKE \"1%0\" cannot be sent to the Web API, which matches a % only at the "
      "start or the end of a pattern, and no _ at position 12.",
      Translated("IDCUST LIKE \"1%0\""));
  EXPECT_EQ("Dates such as DATESTART cannot be compared through the Web API at position 0.",
            Translated("DATESTART > 20100101"));
  EXPECT_EQ("SWHOLD and TAXSTTS1 cannot be compared through the Web API at position 0.",
            Translated("SWHOLD = TAXSTTS1"));
  EXPECT_EQ(
      "IDGRP cannot be sent to the Web API: the server offers no property GroupCode at "
      "position 20.",
      Translated("(IDCUST = \"1\") AND (IDGRP = \"A\")", "GroupCode"));
  std::string many = "IDCUST = \"1\"";
  for (int i = 0; i < 99; ++i) many += " OR IDCUST = \"" + std::to_string(i) + "\"";
  EXPECT_EQ(
      "The filter is too long to send to the Web API: 2587 characters once translated, "
      "more than 1800 at position 0.",
      Translated(many));
}

// What the ERP refuses, the program refuses with the ERP's own message, before its own reasons.
TEST(FilterTranslationTest, RefusesWhatTheErpRefusesWithTheErpsMessage) {
  const erp::ViewDef& view = erp::ViewCatalog::standard().get("AR0024");
  for (const std::string& filter : std::vector<std::string>{
           "(IDCUST = \"1", "NOSUCH = 1", "IDCUST ! 1", "TAXSTTS1 = one",
           "TAXSTTS1 = 99999999999999999999", "SWHOLD LIKE \"1\"", "IDCUST LIKE IDGRP",
           "IDCUST = TAXSTTS1", "(IDCUST = \"1\"", "(IDCUST = \"1\") AND", "IDCUST = \"1\" )",
           "(DATESTART = 1) AND (NOSUCH = 1)",
           std::string(65, '(') + "IDCUST = \"1\"" + std::string(65, ')')}) {
    std::string expected = "accepted";
    try {
      erp::compileFilter(view, filter);
    } catch (const erp::FilterError& error) {
      expected = error.what();
    }
    EXPECT_EQ(expected, Translated(filter)) << filter;
  }
}

}  // namespace
}  // namespace host::webapi

#include "standin/catalog/CatalogShorthand.h"
#include "standin/catalog/CatalogViews.h"

namespace erp {

using namespace shorthand;

std::vector<ViewDef> oeViews() {
  return {
      ViewBuilder("OE0540", "O/E Templates")
          .code("TEMPLATE", "Template Code", 6)
          .text("DESC", "Description", 60)
          .date("DATELASTMN", "Date Last Maintained")
          .texts(6, {{"SHIPVIA", "Ship Via"}, {"LOCATION", "Location"}})
          .text("FOB", "FOB Point", 60)
          .texts(6,
                 {{"TERRITORY", "Territory"}, {"PRICELIST", "Price List"}, {"TERMS", "Terms Code"}})
          .int16("ORDERTYPE", "Order Type")
          .text("SPECINST", "Special Instructions", 60)
          .texts(6, {{"CUSTGROUP", "Customer Group"}, {"ACCTSET", "Account Set"}})
          .at(14)
          .taxGroup("TAXGROUP", Sales)
          .boolean("TAXOVERRID", "Tax Override")
          .series("SALESPER", "Salesperson", 5, Text, 8)
          .series("SALESPLT", "Salesperson Split", 5, Decimal)
          .boolean("INACTIVE", "Inactive")
          .date("DATEINACT", "Inactive Date")
          .key("Template Code", {"TEMPLATE"})
          .build(),

      ViewBuilder("OE0440", "Miscellaneous Charges")
          .currency("CURRENCY", "Currency Code")
          .code("MISCCHARGE", "Miscellaneous Charge Code", 6)
          .text("DESC", "Description", 60)
          .date("DATELASTMN", "Date Last Maintained")
          .decimal("AMOUNT", "Amount")
          .text("GLACCT", "Revenue Account", 45)
          .boolean("INACTIVE", "Inactive")
          .date("DATEINACT", "Inactive Date")
          .int32("VALUES", "Optional Fields")
          .key("Currency and Charge", {"CURRENCY", "MISCCHARGE"})
          .key("Charge and Currency", {"MISCCHARGE", "CURRENCY"})
          .build(),

      ViewBuilder("OE0450", "Miscellaneous Charge Optional Fields")
          .currency("CURRENCY", "Currency Code")
          .code("MISCCHARGE", "Miscellaneous Charge Code", 6)
          .optionalFieldColumns()
          .key("Optional Field Key", {"CURRENCY", "MISCCHARGE", "OPTFIELD"})
          .detailOf("OE0440")
          .build(),

      ViewBuilder("OE0460", "Miscellaneous Charge Taxes")
          .currency("CURRENCY", "Currency Code")
          .code("MISCCHARGE", "Miscellaneous Charge Code", 6)
          .taxAuthority("AUTHORITY")
          .taxClassOf("TAXCLASS", "Tax Class", "AUTHORITY", Sales, CustomerAxis)
          .key("Charge Tax Key", {"CURRENCY", "MISCCHARGE", "AUTHORITY"})
          .detailOf("OE0440")
          .build(),
  };
}

}  // namespace erp

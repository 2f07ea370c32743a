#include "standin/catalog/CatalogShorthand.h"
#include "standin/catalog/CatalogViews.h"

namespace erp {

using namespace shorthand;

std::vector<ViewDef> poViews() {
  return {
      ViewBuilder("PO0605", "P/O Templates")
          .code("TEMPLATE", "Template Code", 6)
          .text("DESC", "Description", 60)
          .date("DATELASTMN", "Date Last Maintained")
          .boolean("INACTIVE", "Inactive")
          .date("DATEINACT", "Inactive Date")
          .texts(6, {{"BTCODE", "Bill-To Location"},
                     {"STCODE", "Ship-To Location"},
                     {"SHIPVIA", "Ship Via"}})
          .text("FOB", "FOB Point", 60)
          .texts(6, {{"TERMSCODE", "Terms Code"}, {"LOCATION", "Location"}})
          .at(12)
          .taxGroup("TAXGROUP", Purchases)
          .text("REFERENCE", "Reference", 60)
          .text("COMMENT", "Comment", 250)
          .int32("VALUES", "Optional Fields")
          .key("Template Code", {"TEMPLATE"})
          .build(),

      ViewBuilder("PO0300", "Additional Costs")
          .code("ADDCOST", "Additional Cost", 6)
          .text("DESC", "Description", 60)
          .date("DATELASTMN", "Date Last Maintained")
          .boolean("INACTIVE", "Inactive")
          .date("DATEINACT", "Inactive Date")
          .int16("METHOD", "Proration Method")
          .decimal("AMOUNT", "Amount")
          .text("GLACCT", "Expense Account", 45)
          .text("VDCODE", "Vendor Number", 12)
          .at(10)
          .currency("CURRENCY", "Currency Code")
          .int32("VALUES", "Optional Fields")
          .key("Additional Cost", {"ADDCOST"})
          .build(),

      ViewBuilder("PO0290", "Additional Cost Taxes")
          .code("ADDCOST", "Additional Cost", 6)
          .taxAuthority("AUTHORITY")
          .text("AUTHDESC", "Tax Authority Description", 60)
          .taxClassOf("TAXCLASS", "Tax Class", "AUTHORITY", Purchases, ItemAxis)
          .key("Additional Cost Tax Key", {"ADDCOST", "AUTHORITY"})
          .detailOf("PO0300")
          .build(),

      ViewBuilder("PO0299", "Additional Cost Optional Fields")
          .code("ADDCOST", "Additional Cost", 6)
          .optionalFieldColumns()
          .key("Optional Field Key", {"ADDCOST", "OPTFIELD"})
          .detailOf("PO0300")
          .build(),

      ViewBuilder("PO0181", "Vendor Contract Costs")
          .itemNumber("ITEMNO", "Item Number")
          .code("VDCODE", "Vendor Number", 12)
          .date("DATELASTMN", "Date Last Maintained")
          .text("VENDITEM", "Vendor Item Number", 24)
          .currency("CURRENCY", "Currency Code")
          .text("COSTUNIT", "Cost Unit of Measure", 10)
          .many(Decimal, {{"BASECOST", "Base Cost"}, {"SALECOST", "Sale Cost"}})
          .many(Date, {{"SALESTART", "Sale Start Date"}, {"SALEEND", "Sale End Date"}})
          .int16("DISCTYPE", "Discount Type")
          .int16("LEADTIME", "Lead Time")
          .text("DESC", "Item Description", 60)
          .boolean("INACTIVE", "Inactive")
          .key("Item and Vendor", {"ITEMNO", "VDCODE"})
          .build(),

      ViewBuilder("PO0191", "Vendor Contract Cost Units")
          .itemNumber("ITEMNO", "Item Number")
          .code("VDCODE", "Vendor Number", 12)
          .code("UNIT", "Unit of Measure", 10)
          .many(Decimal, {{"CONVERSION", "Conversion Factor"},
                          {"BASECOST", "Base Cost"},
                          {"SALECOST", "Sale Cost"}})
          .key("Unit Key", {"ITEMNO", "VDCODE", "UNIT"})
          .detailOf("PO0181")
          .build(),

      ViewBuilder("PO0192", "Vendor Contract Cost Discounts")
          .itemNumber("ITEMNO", "Item Number")
          .code("VDCODE", "Vendor Number", 12)
          .code("UNIT", "Unit of Measure", 10)
          .int16("DISCLEVEL", "Discount Level")
          .many(Decimal, {{"QTYBREAK", "Quantity Break"},
                          {"DISCPCT", "Discount Percentage"},
                          {"DISCAMT", "Discount Amount"}})
          .key("Discount Key", {"ITEMNO", "VDCODE", "UNIT", "DISCLEVEL"})
          .detailOf("PO0181")
          .build(),

      ViewBuilder("PO0183", "Vendor Contract Cost Taxes")
          .itemNumber("ITEMNO", "Item Number")
          .code("VDCODE", "Vendor Number", 12)
          .taxAuthority("AUTHORITY")
          .taxClassOf("TAXCLASS", "Vendor Tax Class", "AUTHORITY", Purchases, VendorAxis)
          .key("Contract Cost Tax Key", {"ITEMNO", "VDCODE", "AUTHORITY"})
          .detailOf("PO0181")
          .build(),
  };
}

}  // namespace erp

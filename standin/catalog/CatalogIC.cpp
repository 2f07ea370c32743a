#include "standin/catalog/CatalogShorthand.h"
#include "standin/catalog/CatalogViews.h"

namespace erp {

using namespace shorthand;

namespace {

ViewDef icItems() {
  return ViewBuilder("IC0310", "Items")
      .itemNumber("ITEMNO", "Unformatted Item Number")
      .date("DATELASTMN", "Date Last Maintained")
      .text("DESC", "Description", 60)
      .date("DATEINACT", "Inactive Date")
      .texts(6, {{"CATEGORY", "Category"}, {"CNTLACCT", "Account Set"}})
      .at(7)
      .text("FMTITEMNO", "Item Number", 24)
      .boolean("STOCKITEM", "Stock Item")
      .text("STOCKUNIT", "Stocking Unit of Measure", 10)
      .text("DEFPRICLST", "Default Price List", 6)
      .decimal("UNITWGT", "Unit Weight")
      .text("PICKINGSEQ", "Picking Sequence", 10)
      .boolean("SELLABLE", "Sellable")
      .text("COMMODIM", "Commodity Number", 16)
      .boolean("INACTIVE", "Inactive")
      .series("SEGMENT", "Segment", 10, Text, 24)
      .int16("COSTMETHOD", "Costing Method")
      .text("COSTUNIT", "Costing Unit of Measure", 10)
      .many(Decimal, {{"STDCOST", "Standard Cost"},
                      {"MOSTREC", "Most Recent Cost"},
                      {"AVGCOST", "Average Cost"}})
      .date("COSTDATE", "Last Cost Date")
      .boolean("KITTING", "Kitting Item")
      .text("DEFKITNO", "Default Kit Number", 6)
      .many(Boolean, {{"SERIALNO", "Serial Numbers"}, {"LOTITEM", "Lot Numbers"}})
      .texts(40, {{"SNFMTMASK", "Serial Number Mask"}, {"LOTMASK", "Lot Number Mask"}})
      .text("WARRANTY", "Warranty Code", 12)
      .text("UNITWGTUOM", "Weight Unit of Measure", 10)
      .many(Date, {{"DATELASTRC", "Last Receipt Date"}, {"DATELASTSH", "Last Shipment Date"}})
      .boolean("COMMISSION", "Commissionable")
      .text("DEFLOC", "Default Location", 6)
      .at(44)
      .text("ITEMBRKID", "Item Structure", 6)
      .int32("VALUES", "Optional Fields")
      .many(Decimal, {{"QTYONHAND", "Quantity on Hand"},
                      {"QTYONORDER", "Quantity on Purchase Order"},
                      {"QTYSALORDR", "Quantity on Sales Order"},
                      {"QTYCOMMIT", "Quantity Committed"},
                      {"QTYAVAIL", "Quantity Available"},
                      {"TOTALCOST", "Total Cost"},
                      {"REORDERLVL", "Reorder Level"},
                      {"SALESYTD", "Year-to-Date Sales"},
                      {"COSTYTD", "Year-to-Date Cost of Sales"},
                      {"QTYSOLDYTD", "Year-to-Date Quantity Sold"},
                      {"RETURNSYTD", "Year-to-Date Returns"},
                      {"SALESLY", "Last Year Sales"},
                      {"COSTLY", "Last Year Cost of Sales"},
                      {"QTYSOLDLY", "Last Year Quantity Sold"},
                      {"RETURNSLY", "Last Year Returns"}})
      .date("DATELASTCN", "Last Physical Count Date")
      .int16("COUNTFREQ", "Physical Count Frequency")
      .int32("EXPDAYS", "Shelf Life in Days")
      .series("COMMENT", "Comment", 4, Text, 80)
      .texts(24, {{"MANITEMNO", "Manufacturer's Item Number"}, {"BARCODE", "Bar Code"}})
      .texts(10,
             {{"PRCHUNIT", "Purchasing Unit of Measure"}, {"SALESUNIT", "Selling Unit of Measure"}})
      .text("VENDORNO", "Primary Vendor", 12)
      .int16("PROCESSCMD", "Process Command")
      .at(74)
      .int16("ITEMTYPE", "Item Type")
      .key("Item Number", {"ITEMNO"})
      .build();
}

ViewDef pricing() {
  return ViewBuilder("IC0480", "Item Pricing")
      .currency("CURRENCY", "Currency Code")
      .itemNumber("ITEMNO", "Unformatted Item Number")
      .code("PRICELIST", "Price List Code", 6)
      .date("DATELASTMN", "Date Last Maintained")
      .many(Int16, {{"PRICEBASE", "Selling Price Based On"},
                    {"PRICEBY", "Price Determined By"},
                    {"PRICEFMT", "Discount/Markup Type"}})
      .decimal("BASEPRICE", "Base Price")
      .text("BASEUNIT", "Base Unit of Measure", 10)
      .decimal("SALEPRICE", "Sale Price")
      .text("SALEUNIT", "Sale Unit of Measure", 10)
      .many(Date, {{"SALESTART", "Sale Start Date"}, {"SALEEND", "Sale End Date"}})
      .int16("SALETYPE", "Sale Discount Type")
      .decimal("MARKUPCOST", "Markup Cost")
      .text("MARKUPUNIT", "Markup Unit of Measure", 10)
      .int16("COSTBASE", "Markup Cost Based On")
      .series("DISCPCT", "Discount Percentage", 5, Decimal)
      .series("DISCAMT", "Discount Amount", 5, Decimal)
      .series("MARKUPPCT", "Markup Percentage", 5, Decimal)
      .series("MARKUPAMT", "Markup Amount", 5, Decimal)
      .series("QTYBREAK", "Quantity Break", 5, Decimal)
      .series("SALEPCT", "Sale Discount Percentage", 5, Decimal)
      .series("SALEAMT", "Sale Discount Amount", 5, Decimal)
      .int16("PRICECHECK", "Price Check")
      .many(Decimal, {{"MINPRICE", "Lowest Selling Price"}, {"MAXPRICE", "Highest Selling Price"}})
      .many(Int16, {{"PRICEDECS", "Price Decimals"}, {"ROUNDMETH", "Rounding Method"}})
      .decimal("ROUNDTO", "Round To Multiple Of")
      .text("WEIGHTUNIT", "Weight Unit of Measure", 10)
      .boolean("USEWEIGHT", "Price by Weight")
      .decimal("DEFWEIGHT", "Default Weight")
      .date("DATEPRICE", "Last Price Change Date")
      .decimal("PREVPRICE", "Previous Base Price")
      .texts(60, {{"ITEMDESC", "Item Description"},
                  {"PLDESC", "Price List Description"},
                  {"CURDESC", "Currency Description"}})
      .boolean("SWPROMO", "Promotional Price")
      .int16("PROCESSCMD", "Process Command")
      .boolean("SALEACTIVE", "Sale Price Active")
      .at(70)
      .text("FMTITEMNO", "Item Number", 24)
      .key("Price Key", {"CURRENCY", "ITEMNO", "PRICELIST"})
      .build();
}

ViewDef categories() {
  return ViewBuilder("IC0210", "Categories")
      .code("CATEGORY", "Category Code", 6)
      .text("DESC", "Description", 60)
      .date("DATELASTMN", "Date Last Maintained")
      .boolean("INACTIVE", "Inactive")
      .date("DATEINACT", "Inactive Date")
      .text("DEFPRICLST", "Default Price List", 6)
      .texts(45, {{"SALESACCT", "Sales Account"},
                  {"RETURNACCT", "Returns Account"},
                  {"DAMAGEACCT", "Damaged Goods Account"},
                  {"COSTACCT", "Cost of Goods Sold Account"}})
      .decimal("COMMRATE", "Commission Rate")
      .boolean("PAYCOMM", "Commissionable")
      .int32("VALUES", "Optional Fields")
      .key("Category Code", {"CATEGORY"})
      .build();
}

ViewDef priceLists() {
  return ViewBuilder("IC0390", "Price List Codes")
      .code("PRICELIST", "Price List Code", 6)
      .text("DESC", "Description", 60)
      .date("DATELASTMN", "Date Last Maintained")
      .many(Int16, {{"PRICEBASE", "Selling Price Based On"}, {"PRICEFMT", "Discount/Markup Type"}})
      .int16("ROUNDMETH", "Rounding Method")
      .decimal("ROUNDTO", "Round To Multiple Of")
      .many(Int16, {{"PRICEDECS", "Price Decimals"}, {"PRICEBY", "Price Determined By"}})
      .boolean("INACTIVE", "Inactive")
      .date("DATEINACT", "Inactive Date")
      .key("Price List Code", {"PRICELIST"})
      .build();
}

}  // namespace

std::vector<ViewDef> icViews() {
  return {
      icItems(),
      ViewBuilder("IC0330", "Item Taxes")
          .itemNumber("ITEMNO", "Unformatted Item Number")
          .taxAuthority("AUTHORITY")
          .taxClassOf("PURCHCLASS", "Purchases Tax Class", "AUTHORITY", Purchases, ItemAxis)
          .taxClassOf("SALESCLASS", "Sales Tax Class", "AUTHORITY", Sales, ItemAxis)
          .key("Item Tax Key", {"ITEMNO", "AUTHORITY"})
          .detailOf("IC0310")
          .build(),
      ViewBuilder("IC0340", "Item Vendor Details")
          .itemNumber("ITEMNO", "Unformatted Item Number")
          .int16("VENDTYPE", "Vendor Type")
          .text("VENDNUM", "Vendor Number", 12)
          .text("VENDITEM", "Vendor Item Number", 24)
          .text("COSTCURN", "Cost Currency", 3)
          .decimal("VENDCOST", "Vendor Cost")
          .text("COSTUNIT", "Cost Unit of Measure", 10)
          .int16("LEADTIME", "Lead Time")
          .key("Vendor Key", {"ITEMNO", "VENDTYPE"})
          .detailOf("IC0310")
          .build(),
      ViewBuilder("IC0750", "Item Units of Measure")
          .itemNumber("ITEMNO", "Unformatted Item Number")
          .code("UNIT", "Unit of Measure", 10)
          .decimal("CONVERSION", "Conversion Factor")
          .boolean("DEFAULTUOM", "Default Unit of Measure")
          .key("Unit Key", {"ITEMNO", "UNIT"})
          .detailOf("IC0310")
          .build(),
      categories(),
      ViewBuilder("IC0220", "Category Taxes")
          .code("CATEGORY", "Category Code", 6)
          .taxAuthority("AUTHORITY")
          .taxClassOf("PURCHCLASS", "Purchases Tax Class", "AUTHORITY", Purchases, ItemAxis)
          .taxClassOf("SALESCLASS", "Sales Tax Class", "AUTHORITY", Sales, ItemAxis)
          .key("Category Tax Key", {"CATEGORY", "AUTHORITY"})
          .detailOf("IC0210")
          .build(),
      pricing(),
      ViewBuilder("IC0490", "Item Pricing Taxes")
          .currency("CURRENCY", "Currency Code")
          .itemNumber("ITEMNO", "Unformatted Item Number")
          .code("PRICELIST", "Price List Code", 6)
          .taxAuthority("AUTHORITY")
          .text("AUTHDESC", "Tax Authority Description", 60)
          .taxClassOf("CUSTCLASS", "Customer Tax Class", "AUTHORITY", Sales, ItemAxis)
          .key("Price Tax Key", {"CURRENCY", "ITEMNO", "PRICELIST", "AUTHORITY"})
          .detailOf("IC0480")
          .build(),
      priceLists(),
      ViewBuilder("IC0395", "Price List Code Taxes")
          .code("PRICELIST", "Price List Code", 6)
          .taxAuthority("AUTHORITY")
          .text("AUTHDESC", "Tax Authority Description", 60)
          .taxClassOf("CUSTCLASS", "Customer Tax Class", "AUTHORITY", Sales, ItemAxis)
          .key("Price List Tax Key", {"PRICELIST", "AUTHORITY"})
          .detailOf("IC0390")
          .build(),
  };
}

}  // namespace erp

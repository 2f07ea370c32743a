#include "standin/catalog/CatalogShorthand.h"
#include "standin/catalog/CatalogViews.h"

namespace erp {

using namespace shorthand;

std::vector<ViewDef> commonViews() {
  return {
      ViewBuilder("CS0003", "Currency Codes")
          .code("CURID", "Currency Code", 3)
          .text("CURNAME", "Description", 60)
          .text("SYMBOL", "Currency Symbol", 4)
          .int16("DECIMALS", "Decimal Places")
          .int16("SYMBOLPOS", "Symbol Position")
          .text("THOUSSEP", "Thousands Separator", 1)
          .text("DECSEP", "Decimal Separator", 1)
          .int16("NEGDISP", "Negative Display")
          .key("Currency Code Key", {"CURID"})
          .build(),

      ViewBuilder("AR0001", "A/R Options")
          .date("DATELASTMN", "Date Last Maintained")
          .text("NAMECTAC", "Contact Name", 60)
          .text("TEXTPHON", "Telephone Number", 30)
          .text("TEXTFAX", "Fax Number", 30)
          .boolean("SWMULTICUR", "Multicurrency")
          .at(6)
          .boolean("SWRCHGCUST", "Recurring Charges by Customer")
          .many(Boolean, {{"SWEDITIMPT", "Allow Edit of Imported Batches"},
                          {"SWEDITEXT", "Allow Edit of Statistics"},
                          {"SWKEEPHIST", "Keep Transaction History"},
                          {"SWPRTDEPST", "Force Listing of Batches"},
                          {"SWINCLTAX", "Include Tax in Statistics"}})
          .many(Int16,
                {{"AGINGPERD", "Age Invoices By"}, {"AGINGCRN", "Age Unapplied Credit Notes"}})
          .text("DEFRATETYP", "Default Rate Type", 2)
          .singleRecord()
          .build(),

      ViewBuilder("IC0380", "I/C Options")
          .date("DATELASTMN", "Date Last Maintained")
          .text("CONTACT", "Contact Name", 60)
          .text("PHONE", "Telephone Number", 30)
          .text("FAX", "Fax Number", 30)
          .text("HOMECUR", "Functional Currency", 3)
          .text("RATETYPE", "Default Rate Type", 2)
          .many(Boolean, {{"ALLOWNEG", "Allow Negative Inventory Levels"},
                          {"ALLOWRCPT", "Allow Receipt of Non-Stock Items"},
                          {"KEEPHIST", "Keep Transaction History"},
                          {"KEEPSTATS", "Keep Item Statistics"},
                          {"ALLOWEDIT", "Allow Edit of Statistics"},
                          {"POSTTOGL", "Create G/L Transactions"},
                          {"PROMPTDEL", "Prompt to Delete During Posting"},
                          {"COSTRECV", "Cost Items During Posting"}})
          .many(Int16, {{"ACCUMBY", "Accumulate Statistics By"},
                        {"PERIODTYPE", "Period Type"},
                        {"COSTINGBY", "Costing Method"},
                        {"DEFITEMSTR", "Default Item Structure"}})
          .text("ITEMSEP", "Item Number Separators", 6)
          .text("DEFLOC", "Default Location", 6)
          .text("DEFWEIGHT", "Default Weight Unit of Measure", 10)
          .many(Int16, {{"ADJNEXT", "Next Adjustment Number"},
                        {"RCPNEXT", "Next Receipt Number"},
                        {"SHIPNEXT", "Next Shipment Number"}})
          .at(25)
          .boolean("MULTICURN", "Multicurrency")
          .boolean("USEPRICEWT", "Use Item Weights in Pricing")
          .singleRecord()
          .build(),
  };
}

}  // namespace erp

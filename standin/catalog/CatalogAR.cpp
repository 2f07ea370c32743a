#include "standin/catalog/CatalogShorthand.h"
#include "standin/catalog/CatalogViews.h"

namespace erp {

using namespace shorthand;

namespace {

ViewDef customers() {
  return ViewBuilder("AR0024", "Customers")
      .code("IDCUST", "Customer Number", 12)
      .text("TEXTSNAM", "Short Name", 10)
      .text("IDGRP", "Group Code", 6)
      .text("IDNATACCT", "National Account", 12)
      .status("SWACTV", "Status")
      .many(Date, {{"DATEINAC", "Inactive Date"}, {"DATELASTMN", "Date Last Maintained"}})
      .boolean("SWHOLD", "On Hold")
      .date("DATESTART", "Start Date")
      .text("CODEDAB", "D&B Number", 9)
      .text("CODEDABRTG", "D&B Rating", 5)
      .date("DATEDAB", "D&B Rating Date")
      .int16("CUSTTYPE", "Customer Type")
      .at(14)
      .text("NAMECUST", "Customer Name", 60)
      .series("TEXTSTRE", "Address Line", 4, Text, 60)
      .texts(30, {{"NAMECITY", "City"}, {"CODESTTE", "State/Prov."}})
      .text("CODEPSTL", "Zip/Postal Code", 20)
      .text("CODECTRY", "Country", 30)
      .text("NAMECTAC", "Contact Name", 60)
      .texts(30, {{"TEXTPHON1", "Telephone"}, {"TEXTPHON2", "Fax Number"}})
      .texts(6, {{"IDACCTSET", "Account Set"},
                 {"IDAUTOCASH", "Auto Cash Profile"},
                 {"IDBILLCYCL", "Billing Cycle"},
                 {"IDSVCCHRG", "Interest Profile"},
                 {"IDDLST", "Delinquency Profile"},
                 {"CODETERM", "Terms Code"},
                 {"CODETERR", "Territory"}})
      .boolean("SWPRTSTMT", "Print Statements")
      .text("PRICLIST", "Price List", 6)
      .at(35)
      .text("CODECURN", "Currency Code", 3)
      .text("IDRATETYPE", "Rate Type", 2)
      .int16("SWBALFWD", "Account Type")
      .at(38)
      .taxGroup("CODETAXGRP", Sales)
      .taxClassesOfGroup("TAXSTTS", "CODETAXGRP")
      .series("IDTAXREGI", "Tax Registration Number", 5, Text, 20)
      .boolean("SWCHKLIMIT", "Check Credit Limit")
      .many(Decimal, {{"AMTCRLIMT", "Credit Limit"},
                      {"AMTBALDUET", "Balance Due in Customer Currency"},
                      {"AMTBALDUEH", "Balance Due in Functional Currency"}})
      .date("DATELASTST", "Last Statement Date")
      .decimal("AMTLASTSTT", "Last Statement Balance")
      .date("DATELASTRV", "Last Revaluation Date")
      .decimal("AMTBALLARV", "Last Revaluation Balance")
      .many(Int32, {{"CNTOPENINV", "Number of Open Documents"},
                    {"CNTINVPAID", "Number of Paid Invoices"},
                    {"DAYSTOPAY", "Days to Pay"}})
      .many(Date, {{"DATEINVCHI", "Date of Largest Invoice"},
                   {"DATEBALHI", "Date of Highest Balance"},
                   {"DATEINVHIL", "Date of Largest Invoice Last Year"},
                   {"DATEBALHIL", "Date of Highest Balance Last Year"},
                   {"DATELASTAC", "Last Activity Date"},
                   {"DATELASTIV", "Last Invoice Date"},
                   {"DATELASTCR", "Last Credit Note Date"},
                   {"DATELASTDR", "Last Debit Note Date"},
                   {"DATELASTPA", "Last Receipt Date"},
                   {"DATELASTDI", "Last Discount Date"},
                   {"DATELASTAD", "Last Adjustment Date"}})
      .texts(22, {{"IDINVCHI", "Number of Largest Invoice"},
                  {"IDINVCHILY", "Number of Largest Invoice Last Year"}})
      .many(Decimal, {{"AMTINVHIT", "Largest Invoice"},
                      {"AMTBALHIT", "Highest Balance"},
                      {"AMTINVHILT", "Largest Invoice Last Year"},
                      {"AMTBALHILT", "Highest Balance Last Year"},
                      {"AMTLASTIVT", "Last Invoice Amount"},
                      {"AMTLASTCRT", "Last Credit Note Amount"},
                      {"AMTLASTDRT", "Last Debit Note Amount"},
                      {"AMTLASTPYT", "Last Receipt Amount"},
                      {"AMTLASTDIT", "Last Discount Amount"},
                      {"AMTLASTADT", "Last Adjustment Amount"},
                      {"AMTINVHIH", "Largest Invoice (Functional)"},
                      {"AMTBALHIH", "Highest Balance (Functional)"},
                      {"AMTINVHILH", "Largest Invoice Last Year (Functional)"},
                      {"AMTBALHILH", "Highest Balance Last Year (Functional)"},
                      {"AMTLASTIVH", "Last Invoice Amount (Functional)"},
                      {"AMTLASTCRH", "Last Credit Note Amount (Functional)"},
                      {"AMTLASTDRH", "Last Debit Note Amount (Functional)"},
                      {"AMTLASTPYH", "Last Receipt Amount (Functional)"},
                      {"AMTLASTDIH", "Last Discount Amount (Functional)"},
                      {"AMTLASTADH", "Last Adjustment Amount (Functional)"},
                      {"AMTSALET", "Total Sales"},
                      {"AMTRCPTT", "Total Receipts"},
                      {"AMTDISCT", "Total Discounts"},
                      {"AMTWROFFT", "Total Write-Offs"},
                      {"AMTADJT", "Total Adjustments"},
                      {"AMTCRT", "Total Credit Notes"},
                      {"AMTDRT", "Total Debit Notes"},
                      {"AMTINTT", "Total Interest Charged"}})
      .many(Int32, {{"CNTINVC", "Number of Invoices"},
                    {"CNTRCPT", "Number of Receipts"},
                    {"CNTDISC", "Number of Discounts"},
                    {"CNTWROFF", "Number of Write-Offs"},
                    {"CNTADJ", "Number of Adjustments"},
                    {"CNTCR", "Number of Credit Notes"},
                    {"CNTDR", "Number of Debit Notes"},
                    {"TOTDAYSPAY", "Total Days to Pay"}})
      .many(Decimal, {{"AVGDAYSPAY", "Average Days to Pay"}, {"AMTUNAPPLT", "Unapplied Receipts"}})
      .series("CODESLSP", "Salesperson", 5, Text, 8)
      .series("PCTSASPLT", "Salesperson Split", 5, Decimal)
      .text("SHIPVIA", "Ship Via", 6)
      .text("IDCUSTSHPT", "Primary Ship-To Location", 6)
      .int16("DELMETHOD", "Delivery Method")
      .many(Boolean,
            {{"SWPARTSHIP", "Allow Partial Shipments"}, {"SWWEBSHOP", "Web Store Customer"}})
      .text("PAYMCODE", "Payment Code", 12)
      .text("FOB", "FOB Point", 60)
      .at(128)
      .text("EMAIL1", "E-mail", 50)
      .text("WEBSITE", "Web Site", 100)
      .text("BRN", "Business Registration Number", 20)
      .text("LOCATION", "Inventory Location", 6)
      .int32("VALUES", "Optional Fields")
      .int16("PROCESSCMD", "Process Command")
      .boolean("SWOVRDUE", "Check Overdue Amounts")
      .int32("OVDDAYS", "Overdue Days Limit")
      .decimal("OVDAMT", "Overdue Amount Limit")
      .text("LEGALNAME", "Legal Name", 60)
      .text("CHECKLANG", "Language", 3)
      .many(Boolean, {{"SWEMAILSTM", "E-mail Statements"}, {"SWEMAILINV", "E-mail Invoices"}})
      .at(141)
      .texts(30, {{"CTACPHONE", "Contact's Telephone"}, {"CTACFAX", "Contact's Fax"}})
      .text("EMAIL2", "Contact's E-mail", 50)
      .key("Customer Number", {"IDCUST"})
      .build();
}

ViewDef customerGroups() {
  return ViewBuilder("AR0025", "Customer Groups")
      .code("IDGRP", "Group Code", 6)
      .text("TEXTDESC", "Description", 60)
      .status("SWACTV", "Status")
      .many(Date, {{"DATEINAC", "Inactive Date"}, {"DATELASTMN", "Date Last Maintained"}})
      .texts(6, {{"IDACCTSET", "Account Set"},
                 {"IDBILLCYCL", "Billing Cycle"},
                 {"IDSVCCHRG", "Interest Profile"},
                 {"IDDLST", "Delinquency Profile"},
                 {"CODETERM", "Terms Code"}})
      .boolean("SWCHKLIMIT", "Check Credit Limit")
      .decimal("AMTCRLIMT", "Credit Limit")
      .text("CODECURN", "Currency Code", 3)
      .text("IDRATETYPE", "Rate Type", 2)
      .int16("SWBALFWD", "Account Type")
      .boolean("SWPRTSTMT", "Print Statements")
      .texts(6, {{"PRICLIST", "Price List"}, {"CODETERR", "Territory"}})
      .series("CODESLSP", "Salesperson", 5, Text, 8)
      .series("PCTSASPLT", "Salesperson Split", 5, Decimal)
      .boolean("SWOVRDUE", "Check Overdue Amounts")
      .int32("OVDDAYS", "Overdue Days Limit")
      .decimal("OVDAMT", "Overdue Amount Limit")
      .text("IDAUTOCASH", "Auto Cash Profile", 6)
      .many(Boolean, {{"SWPARTSHIP", "Allow Partial Shipments"},
                      {"SWCHKDUPPO", "Check for Duplicate PO Numbers"}})
      .at(35)
      .taxGroup("CODETAXGRP", Sales)
      .taxClassesOfGroup("TAXSTTS", "CODETAXGRP")
      .int32("VALUES", "Optional Fields")
      .key("Group Code", {"IDGRP"})
      .build();
}

ViewDef shipToLocations() {
  return ViewBuilder("AR0023", "Ship-To Locations")
      .code("IDCUST", "Customer Number", 12)
      .code("IDCUSTSHPT", "Ship-To Location Code", 6)
      .text("NAMELOCN", "Location Name", 60)
      .series("TEXTSTRE", "Address Line", 4, Text, 60)
      .texts(30, {{"NAMECITY", "City"}, {"CODESTTE", "State/Prov."}})
      .text("CODEPSTL", "Zip/Postal Code", 20)
      .text("CODECTRY", "Country", 30)
      .text("NAMECTAC", "Contact Name", 60)
      .texts(30, {{"TEXTPHON1", "Telephone"}, {"TEXTPHON2", "Fax Number"}})
      .status("SWACTV", "Status")
      .many(Date, {{"DATEINAC", "Inactive Date"}, {"DATELASTMN", "Date Last Maintained"}})
      .texts(6, {{"CODETERR", "Territory"}, {"PRICLIST", "Price List"}})
      .at(20)
      .taxGroup("CODETAXGRP", Sales)
      .taxClassesOfGroup("TAXSTTS", "CODETAXGRP")
      .series("IDTAXREGI", "Tax Registration Number", 5, Text, 20)
      .texts(6, {{"SHIPVIA", "Ship Via"}, {"LOCATION", "Inventory Location"}})
      .texts(60, {{"FOB", "FOB Point"}, {"SPECINST", "Special Instructions"}})
      .series("CODESLSP", "Salesperson", 5, Text, 8)
      .series("PCTSASPLT", "Salesperson Split", 5, Decimal)
      .text("EMAIL", "E-mail", 50)
      .texts(30, {{"CTACPHONE", "Contact's Telephone"}, {"CTACFAX", "Contact's Fax"}})
      .text("CTACEMAIL", "Contact's E-mail", 50)
      .boolean("SWPRIMSHPT", "Primary Ship-To Location")
      .int32("VALUES", "Optional Fields")
      .key("Ship-To Location Key", {"IDCUST", "IDCUSTSHPT"})
      .build();
}

ViewDef arItems() {
  return ViewBuilder("AR0010", "A/R Items")
      .code("IDITEM", "Item Number", 16)
      .status("SWACTV", "Status")
      .text("TEXTDESC", "Description", 60)
      .many(Date, {{"DATEINAC", "Inactive Date"}, {"DATELASTMN", "Date Last Maintained"}})
      .text("IDDIST", "Distribution Code", 6)
      .text("CMNTTEXT", "Comment", 250)
      .text("IDGLACCT", "Revenue Account", 45)
      .key("Item Number", {"IDITEM"})
      .build();
}

ViewDef itemPricing() {
  return ViewBuilder("AR0009", "A/R Item Pricing")
      .code("IDITEM", "Item Number", 16)
      .code("CODEUNIT", "Unit of Measure", 10)
      .date("DATELASTMN", "Date Last Maintained")
      .many(Decimal, {{"AMTPRICE", "Item Price"}, {"AMTCOST", "Item Cost"}})
      .boolean("SWCOMM", "Commissionable")
      .key("Price Key", {"IDITEM", "CODEUNIT"})
      .detailOf("AR0010")
      .build();
}

ViewDef itemTaxes() {
  return ViewBuilder("AR0011", "A/R Item Taxes")
      .code("IDITEM", "Item Number", 16)
      .taxAuthority("AUTHORITY")
      .taxClassOf("TAXSTTS", "Tax Class", "AUTHORITY", Sales, 2)
      .taxIncluded("SWTAXINCL", "AUTHORITY")
      .key("Item Tax Key", {"IDITEM", "AUTHORITY"})
      .detailOf("AR0010")
      .build();
}

ViewDef recurringCharges() {
  return ViewBuilder("AR0046", "Recurring Charges")
      .code("IDSTDINVC", "Recurring Charge Code", 16)
      .code("IDCUST", "Customer Number", 12)
      .date("DATELASTMN", "Date Last Maintained")
      .text("TEXTDESC", "Description", 60)
      .status("SWACTV", "Status")
      .date("DATEINAC", "Inactive Date")
      .text("SCHEDKEY", "Schedule Code", 16)
      .many(Date, {{"DATESTART", "Start Date"}, {"DATEEND", "Expiration Date"}})
      .int16("SWEXPTYPE", "Expiration Type")
      .date("DATELASTIV", "Last Invoice Date")
      .int32("CNTINVCS", "Number of Invoices Created")
      .many(Decimal, {{"AMTMAXINVC", "Maximum Amount"}, {"AMTINVCTOT", "Invoice Total"}})
      .texts(6, {{"IDACCTSET", "Account Set"}, {"CODETERM", "Terms Code"}})
      .text("CODECURN", "Currency Code", 3)
      .text("IDRATETYPE", "Rate Type", 2)
      .texts(6, {{"IDCUSTSHPT", "Ship-To Location"}, {"SHIPVIA", "Ship Via"}})
      .texts(22, {{"CUSTPO", "Customer PO Number"}, {"ORDRNBR", "Order Number"}})
      .texts(60, {{"SPECINST", "Special Instructions"}, {"INVCDESC", "Invoice Description"}})
      .series("CODESLSP", "Salesperson", 5, Text, 8)
      .series("PCTSASPLT", "Salesperson Split", 5, Decimal)
      .boolean("SWCALCTX", "Calculate Tax")
      .many(Int16, {{"SWTXRPT", "Tax Reporting Type"}, {"INVCTYPE", "Invoice Type"}})
      .text("PRICLIST", "Price List", 6)
      .at(39)
      .taxGroup("CODETAXGRP", Sales)
      .taxClassesOfGroup("TAXSTTS", "CODETAXGRP")
      .series("AMTBASE", "Tax Base", 5, Decimal)
      .series("AMTTAX", "Tax Amount", 5, Decimal)
      .many(Decimal, {{"AMTGROSTOT", "Document Total"}, {"AMTTAXTOT", "Total Tax"}})
      .many(Int32, {{"CNTLINES", "Number of Details"}, {"VALUES", "Optional Fields"}})
      .key("Customer and Code", {"IDCUST", "IDSTDINVC"})
      .build();
}

ViewDef recurringChargeDetails() {
  return ViewBuilder("AR0047", "Recurring Charge Details")
      .code("IDCUST", "Customer Number", 12)
      .code("IDSTDINVC", "Recurring Charge Code", 16)
      .int32("CNTLINE", "Line Number")
      .text("IDITEM", "Item Number", 16)
      .text("IDDIST", "Distribution Code", 6)
      .text("TEXTDESC", "Description", 60)
      .text("CODEUNIT", "Unit of Measure", 10)
      .many(Decimal,
            {{"QTYINVC", "Quantity"}, {"AMTPRIC", "Unit Price"}, {"AMTEXTN", "Extended Amount"}})
      .text("IDGLACCT", "Revenue Account", 45)
      .series("TAXSTTS", "Tax Class", 5, Int16)
      .series("SWTAXINCL", "Tax Included", 5, Boolean)
      .text("COMMENT", "Comment", 250)
      .int32("VALUES", "Optional Fields")
      .key("Line Key", {"IDCUST", "IDSTDINVC", "CNTLINE"})
      .detailOf("AR0046")
      .build();
}

}  // namespace

std::vector<ViewDef> arViews() {
  return {
      customers(),
      ViewBuilder("AR0400", "Customer Optional Fields")
          .code("IDCUST", "Customer Number", 12)
          .optionalFieldColumns()
          .key("Optional Field Key", {"IDCUST", "OPTFIELD"})
          .detailOf("AR0024")
          .build(),
      customerGroups(),
      ViewBuilder("AR0410", "Customer Group Optional Fields")
          .code("IDGRP", "Group Code", 6)
          .optionalFieldColumns()
          .key("Optional Field Key", {"IDGRP", "OPTFIELD"})
          .detailOf("AR0025")
          .build(),
      shipToLocations(),
      ViewBuilder("AR0412", "Ship-To Location Optional Fields")
          .code("IDCUST", "Customer Number", 12)
          .code("IDCUSTSHPT", "Ship-To Location Code", 6)
          .optionalFieldColumns()
          .key("Optional Field Key", {"IDCUST", "IDCUSTSHPT", "OPTFIELD"})
          .detailOf("AR0023")
          .build(),
      arItems(),
      itemPricing(),
      itemTaxes(),
      recurringCharges(),
      recurringChargeDetails(),
      ViewBuilder("AR0405", "Recurring Charge Optional Fields")
          .code("IDCUST", "Customer Number", 12)
          .code("IDSTDINVC", "Recurring Charge Code", 16)
          .optionalFieldColumns()
          .key("Optional Field Key", {"IDCUST", "IDSTDINVC", "OPTFIELD"})
          .detailOf("AR0046")
          .build(),
      ViewBuilder("AR0404", "Recurring Charge Detail Optional Fields")
          .code("IDCUST", "Customer Number", 12)
          .code("IDSTDINVC", "Recurring Charge Code", 16)
          .int32("CNTLINE", "Line Number")
          .optionalFieldColumns()
          .key("Optional Field Key", {"IDCUST", "IDSTDINVC", "CNTLINE", "OPTFIELD"})
          .detailOf("AR0047")
          .build(),
  };
}

}  // namespace erp

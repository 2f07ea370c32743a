#include "standin/catalog/CatalogShorthand.h"
#include "standin/catalog/CatalogViews.h"

namespace erp {

using namespace shorthand;

namespace {

ViewDef vendors() {
  return ViewBuilder("AP0015", "Vendors")
      .code("VENDORID", "Vendor Number", 12)
      .text("SHORTNAME", "Short Name", 10)
      .text("IDGRP", "Group Code", 6)
      .status("SWACTV", "Status")
      .many(Date, {{"DATEINAC", "Inactive Date"}, {"DATELASTMN", "Date Last Maintained"}})
      .boolean("SWHOLD", "On Hold")
      .date("DATESTART", "Start Date")
      .text("DUNSNBR", "Duns Number", 9)
      .text("VENDNAME", "Vendor Name", 60)
      .series("TEXTSTRE", "Address Line", 4, Text, 60)
      .texts(30, {{"NAMECITY", "City"}, {"CODESTTE", "State/Prov."}})
      .text("CODEPSTL", "Zip/Postal Code", 20)
      .text("CODECTRY", "Country", 30)
      .text("NAMECTAC", "Contact Name", 60)
      .texts(30, {{"TEXTPHON1", "Telephone"}, {"TEXTPHON2", "Fax Number"}})
      .text("CURNCODE", "Currency Code", 3)
      .text("RATETYPE", "Rate Type", 2)
      .texts(6, {{"IDACCTSET", "Account Set"},
                 {"IDDISTSET", "Distribution Set"},
                 {"DISTCODE", "Distribution Code"}})
      .text("GLACCT", "G/L Expense Account", 45)
      .text("TERMSCODE", "Terms Code", 6)
      .text("IDBANK", "Bank Code", 8)
      .text("PAYMCODE", "Payment Code", 12)
      .text("PRIMRMIT", "Primary Remit-To", 6)
      .int16("SWDISTBY", "Distribute By")
      .boolean("SWPRTSEP", "Print Separate Checks")
      .int16("DUPINVCCD", "Duplicate Invoice Check")
      .at(35)
      .taxGroup("CODETAXGRP", Purchases)
      .taxClassesOfGroup("TAXCLASS", "CODETAXGRP")
      .series("SWTXINC", "Tax Included", 5, Boolean)
      .int16("TAXRPTSW", "1099/CPRS Reporting")
      .text("CLASID", "1099/CPRS Code", 6)
      .text("TAXNBR", "Tax Registration Number", 20)
      .boolean("SUBJTOWTHH", "Subject to Withholding")
      .many(Decimal, {{"AMTCRLIMT", "Credit Limit"},
                      {"AMTBALDUET", "Balance Due in Vendor Currency"},
                      {"AMTBALDUEH", "Balance Due in Functional Currency"}})
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
                   {"DATELASTPA", "Last Payment Date"},
                   {"DATELASTDI", "Last Discount Date"},
                   {"DATELASTAD", "Last Adjustment Date"}})
      .texts(22, {{"IDINVCHI", "Number of Largest Invoice"},
                  {"IDINVCHILY", "Number of Largest Invoice Last Year"}})
      .at(71)
      .many(Decimal, {{"AMTINVHIT", "Largest Invoice"},
                      {"AMTBALHIT", "Highest Balance"},
                      {"AMTINVHILT", "Largest Invoice Last Year"},
                      {"AMTBALHILT", "Highest Balance Last Year"},
                      {"AMTLASTIVT", "Last Invoice Amount"},
                      {"AMTLASTCRT", "Last Credit Note Amount"},
                      {"AMTLASTDRT", "Last Debit Note Amount"},
                      {"AMTLASTPYT", "Last Payment Amount"},
                      {"AMTLASTDIT", "Last Discount Amount"},
                      {"AMTLASTADT", "Last Adjustment Amount"},
                      {"AMTINVHIH", "Largest Invoice (Functional)"},
                      {"AMTBALHIH", "Highest Balance (Functional)"},
                      {"AMTINVHILH", "Largest Invoice Last Year (Functional)"},
                      {"AMTBALHILH", "Highest Balance Last Year (Functional)"},
                      {"AMTLASTIVH", "Last Invoice Amount (Functional)"},
                      {"AMTLASTCRH", "Last Credit Note Amount (Functional)"},
                      {"AMTLASTDRH", "Last Debit Note Amount (Functional)"},
                      {"AMTLASTPYH", "Last Payment Amount (Functional)"},
                      {"AMTLASTDIH", "Last Discount Amount (Functional)"},
                      {"AMTLASTADH", "Last Adjustment Amount (Functional)"},
                      {"AMTPURCHT", "Total Purchases"},
                      {"AMTPAYMT", "Total Payments"},
                      {"AMTDISCT", "Total Discounts Taken"},
                      {"AMTDISCLST", "Total Discounts Lost"},
                      {"AMTADJT", "Total Adjustments"},
                      {"AMTCRT", "Total Credit Notes"},
                      {"AMTDRT", "Total Debit Notes"},
                      {"AMTRETNT", "Total Returns"}})
      .many(Int32, {{"CNTPURCH", "Number of Purchases"},
                    {"CNTPAYM", "Number of Payments"},
                    {"CNTDISC", "Number of Discounts"},
                    {"CNTADJ", "Number of Adjustments"},
                    {"CNTCR", "Number of Credit Notes"},
                    {"CNTDR", "Number of Debit Notes"},
                    {"CNTRETN", "Number of Returns"},
                    {"TOTDAYSPAY", "Total Days to Pay"}})
      .many(Decimal, {{"AVGDAYSPAY", "Average Days to Pay"}, {"AMTPPDT", "Prepayment Balance"}})
      .text("LEGALNAME", "Legal Name", 60)
      .text("BRN", "Business Registration Number", 20)
      .text("CHECKLANG", "Check Language", 3)
      .int16("PAYMMETH", "Payment Method")
      .boolean("SWEFT", "Electronic Funds Transfer")
      .text("BANKACCT", "Vendor Bank Account", 30)
      .text("BANKTRANS", "Vendor Bank Transit Number", 20)
      .many(Int16, {{"VENDORTYPE", "Vendor Type"}, {"DELMETHOD", "Delivery Method"}})
      .int32("VALUES", "Optional Fields")
      .int16("PROCESSCMD", "Process Command")
      .text("IDEMPLOYEE", "Employee Number", 12)
      .at(121)
      .text("EMAIL1", "E-mail", 50)
      .text("WEBSITE", "Web Site", 100)
      .text("EMAIL2", "Contact's E-mail", 50)
      .texts(30, {{"CTACPHONE", "Contact's Telephone"}, {"CTACFAX", "Contact's Fax"}})
      .key("Vendor Number", {"VENDORID"})
      .build();
}

ViewDef vendorGroups() {
  return ViewBuilder("AP0016", "Vendor Groups")
      .code("GROUPID", "Group Code", 6)
      .text("DESCRIPTN", "Description", 60)
      .status("ACTIVESW", "Status")
      .many(Date, {{"INACTDATE", "Inactive Date"}, {"LASTMNTN", "Date Last Maintained"}})
      .text("ACCTSETID", "Account Set", 6)
      .text("CURNCODE", "Currency Code", 3)
      .text("RATETYPE", "Rate Type", 2)
      .text("BANKID", "Bank Code", 8)
      .boolean("PRNTCHKSW", "Print Separate Checks")
      .texts(6, {{"DISTSETID", "Distribution Set"}, {"DISTCODE", "Distribution Code"}})
      .text("GLACCT", "G/L Expense Account", 45)
      .text("TERMCODE", "Terms Code", 6)
      .many(Int16, {{"DUPINVCSW", "Duplicate Invoice Check"},
                    {"DUPAMTSW", "Duplicate Amount Check"},
                    {"DUPDATESW", "Duplicate Date Check"}})
      .at(18)
      .taxGroup("TAXGRP", Purchases)
      .taxClassesOfGroup("TAXCLASS", "TAXGRP")
      .int16("TAXRPTSW", "1099/CPRS Reporting")
      .text("CLASID", "1099/CPRS Code", 6)
      .boolean("SUBJTOWTHH", "Subject to Withholding")
      .text("PAYMCODE", "Payment Code", 12)
      .int16("DISTBYSW", "Distribute By")
      .int32("VALUES", "Optional Fields")
      .key("Group Code", {"GROUPID"})
      .build();
}

ViewDef recurringPayables() {
  return ViewBuilder("AP0064", "Recurring Payables")
      .code("IDVEND", "Vendor Number", 12)
      .code("IDRECURR", "Recurring Payable Code", 16)
      .text("TEXTDESC", "Description", 60)
      .date("DATELASTMN", "Date Last Maintained")
      .status("SWACTV", "Status")
      .date("DATEINAC", "Inactive Date")
      .text("SCHEDKEY", "Schedule Code", 16)
      .many(Date, {{"DATESTART", "Start Date"}, {"DATEEND", "Expiration Date"}})
      .int16("SWEXPTYPE", "Expiration Type")
      .date("DATELASTIV", "Last Invoice Date")
      .int32("CNTINVCS", "Number of Invoices Created")
      .many(Decimal, {{"AMTMAXINVC", "Maximum Amount"}, {"AMTINVCTOT", "Invoice Total"}})
      .texts(6, {{"IDDISTSET", "Distribution Set"}, {"CODETERM", "Terms Code"}})
      .text("CODECURN", "Currency Code", 3)
      .text("RATETYPE", "Rate Type", 2)
      .texts(6, {{"IDACCTSET", "Account Set"}, {"IDREMIT", "Remit-To Location"}})
      .text("INVCDESC", "Invoice Description", 60)
      .texts(22, {{"IDPONBR", "PO Number"}, {"IDORDERNBR", "Order Number"}})
      .boolean("SWCALCTX", "Calculate Tax")
      .int16("SWTXRPT", "Tax Reporting Type")
      .at(26)
      .taxGroup("TAXGRP", Purchases)
      .taxClassesOfGroup("TAXCLASS", "TAXGRP")
      .series("AMTBASE", "Tax Base", 5, Decimal)
      .series("AMTTAX", "Tax Amount", 5, Decimal)
      .many(Decimal, {{"AMTGROSTOT", "Document Total"}, {"AMTTAXTOT", "Total Tax"}})
      .many(Int32, {{"CNTLINES", "Number of Details"}, {"VALUES", "Optional Fields"}})
      .key("Vendor and Code", {"IDVEND", "IDRECURR"})
      .key("Code and Vendor", {"IDRECURR", "IDVEND"})
      .build();
}

ViewDef recurringPayableDetails() {
  return ViewBuilder("AP0065", "Recurring Payable Details")
      .code("IDVEND", "Vendor Number", 12)
      .code("IDRECURR", "Recurring Payable Code", 16)
      .int32("CNTLINE", "Line Number")
      .text("IDDIST", "Distribution Code", 6)
      .text("IDGLACCT", "G/L Account", 45)
      .text("TEXTDESC", "Description", 60)
      .many(Decimal, {{"AMTDIST", "Distributed Amount"}, {"AMTDISTNET", "Distributed Net Amount"}})
      .series("TAXCLASS", "Tax Class", 5, Int16)
      .series("SWTAXINCL", "Tax Included", 5, Boolean)
      .text("COMMENT", "Comment", 250)
      .int32("VALUES", "Optional Fields")
      .key("Line Key", {"IDVEND", "IDRECURR", "CNTLINE"})
      .detailOf("AP0064")
      .build();
}

}  // namespace

std::vector<ViewDef> apViews() {
  return {
      vendors(),
      ViewBuilder("AP0407", "Vendor Optional Fields")
          .code("VENDORID", "Vendor Number", 12)
          .optionalFieldColumns()
          .key("Optional Field Key", {"VENDORID", "OPTFIELD"})
          .detailOf("AP0015")
          .build(),
      vendorGroups(),
      ViewBuilder("AP0408", "Vendor Group Optional Fields")
          .code("GROUPID", "Group Code", 6)
          .optionalFieldColumns()
          .key("Optional Field Key", {"GROUPID", "OPTFIELD"})
          .detailOf("AP0016")
          .build(),
      recurringPayables(),
      recurringPayableDetails(),
      ViewBuilder("AP0405", "Recurring Payable Optional Fields")
          .code("IDVEND", "Vendor Number", 12)
          .code("IDRECURR", "Recurring Payable Code", 16)
          .optionalFieldColumns()
          .key("Optional Field Key", {"IDVEND", "IDRECURR", "OPTFIELD"})
          .detailOf("AP0064")
          .build(),
      ViewBuilder("AP0404", "Recurring Payable Detail Optional Fields")
          .code("IDVEND", "Vendor Number", 12)
          .code("IDRECURR", "Recurring Payable Code", 16)
          .int32("CNTLINE", "Line Number")
          .optionalFieldColumns()
          .key("Optional Field Key", {"IDVEND", "IDRECURR", "CNTLINE", "OPTFIELD"})
          .detailOf("AP0065")
          .build(),
  };
}

}  // namespace erp

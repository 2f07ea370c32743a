#include "standin/catalog/CatalogShorthand.h"
#include "standin/catalog/CatalogViews.h"

namespace erp {

using namespace shorthand;

namespace {

ViewDef banks() {
  return ViewBuilder("BK0001", "Banks")
      .code("BANK", "Bank Code", 8)
      .text("NAME", "Description", 60)
      .date("DATELASTMN", "Date Last Maintained")
      .boolean("INACTIVE", "Inactive")
      .date("DATEINACT", "Inactive Date")
      .series("ADDR", "Address Line", 4, Text, 60)
      .texts(30, {{"CITY", "City"}, {"STATE", "State/Prov."}})
      .text("POSTAL", "Zip/Postal Code", 20)
      .text("COUNTRY", "Country", 30)
      .text("CONTACT", "Contact Name", 60)
      .texts(30, {{"PHONE", "Telephone"}, {"FAX", "Fax Number"}})
      .text("TRANSIT", "Transit Number", 20)
      .text("BKACCT", "Bank Account Number", 30)
      .int16("ACCTTYPE", "Bank Account Type")
      .text("CURNSTMT", "Statement Currency", 3)
      .boolean("MULTICUR", "Multicurrency")
      .texts(45, {{"IDACCT", "Bank Account"},
                  {"IDACCTERR", "Errors Account"},
                  {"IDACCTWO", "Write-Off Account"},
                  {"IDACCTCC", "Credit Card Charges Account"}})
      .many(Int32, {{"NEXTDEPSEQ", "Next Deposit Sequence"},
                    {"NEXTWDLSEQ", "Next Withdrawal Sequence"},
                    {"NEXTRECSEQ", "Next Reconciliation Sequence"}})
      .date("RECDATE", "Last Reconciliation Date")
      .many(Decimal, {{"STMTBAL", "Statement Balance"},
                      {"BOOKBAL", "Book Balance"},
                      {"DEPINTRAN", "Deposits in Transit"},
                      {"OUTSTWDRL", "Outstanding Withdrawals"},
                      {"BANKERR", "Bank Errors"},
                      {"WRITEOFFS", "Write-Offs"},
                      {"CCCHARGES", "Credit Card Charges"},
                      {"RECADJ", "Reconciliation Adjustments"},
                      {"RECBAL", "Adjusted Book Balance"},
                      {"RECSTMT", "Adjusted Statement Balance"},
                      {"OOBAMT", "Out of Balance"},
                      {"EXCHGAIN", "Exchange Gain"},
                      {"EXCHLOSS", "Exchange Loss"},
                      {"CLRDWDL", "Cleared Withdrawals"},
                      {"CLRDDEP", "Cleared Deposits"},
                      {"BOOKBALF", "Book Balance (Functional)"}})
      .many(Date, {{"RECSTMTDT", "Statement Date"},
                   {"RECPSTDT", "Reconciliation Posting Date"},
                   {"LASTPSTDT", "Last Posting Date"}})
      .text("RECYEAR", "Reconciliation Year", 4)
      .int16("RECPERIOD", "Reconciliation Period")
      .text("RECDESC", "Reconciliation Description", 60)
      .int16("RECSTATUS", "Reconciliation Status")
      .text("CHKSTKCODE", "Check Stock Code", 6)
      .int32("NEXTCHKNO", "Next Check Number")
      .text("CHKSTKDESC", "Check Stock Description", 60)
      .int16("ADVICELNS", "Advice Lines per Check")
      .text("CHKLANG", "Check Language", 3)
      .int16("CHKSTKTYPE", "Check Stock Type")
      .text("CHKCURN", "Check Currency", 3)
      .many(Int32, {{"NEXTDEPNO", "Next Deposit Number"},
                    {"NEXTDEPSER", "Next Deposit Serial Number"},
                    {"NEXTWDLSER", "Next Withdrawal Serial Number"},
                    {"NEXTENTRY", "Next Bank Entry Number"}})
      .at(64)
      // Fiscal-period statistics: one field per period of a twelve-period year.
      .series("DEPPERD", "Deposits Period", 12, Decimal)
      .series("WDLPERD", "Withdrawals Period", 12, Decimal)
      .series("DEPCNTP", "Number of Deposits Period", 12, Int32)
      .series("WDLCNTP", "Number of Withdrawals Period", 12, Int32)
      .series("BALPERD", "Balance Period", 12, Decimal)
      .series("LYDEPPRD", "Last Year Deposits Period", 12, Decimal)
      .series("LYWDLPRD", "Last Year Withdrawals Period", 12, Decimal)
      .at(148)
      .many(Decimal, {{"DEPYTD", "Year-to-Date Deposits"},
                      {"WDLYTD", "Year-to-Date Withdrawals"},
                      {"DEPLY", "Last Year Deposits"},
                      {"WDLLY", "Last Year Withdrawals"},
                      {"OPENBALYR", "Opening Balance This Year"},
                      {"OPENBALLY", "Opening Balance Last Year"}})
      .boolean("SWEFT", "Electronic Payments")
      .text("EFTID", "Originator ID", 20)
      .text("EFTFORMAT", "Electronic Payment Format", 12)
      .int32("EFTNEXT", "Next Electronic Payment Number")
      .text("EFTPATH", "Payment File Folder", 250)
      .text("SWIFT", "SWIFT Code", 11)
      .text("IBAN", "IBAN", 34)
      .text("BRANCH", "Branch Number", 20)
      .text("LEGALNAME", "Legal Name", 60)
      .text("EMAIL", "E-mail", 50)
      .text("WEBSITE", "Web Site", 100)
      .texts(30, {{"CTACPHONE", "Contact's Telephone"}, {"CTACFAX", "Contact's Fax"}})
      .text("CTACEMAIL", "Contact's E-mail", 50)
      .text("IMPORTFMT", "Statement Import Format", 12)
      .text("IMPORTPATH", "Statement Import Folder", 250)
      .boolean("AUTOMATCH", "Auto-Match Statement Lines")
      .date("LASTIMPDT", "Last Import Date")
      .many(Int32, {{"LASTIMPSEQ", "Last Import Sequence"}, {"VALUES", "Optional Fields"}})
      .int16("PROCESSCMD", "Process Command")
      .boolean("SWCCACCT", "Credit Card Account")
      .text("CCTYPE", "Credit Card Type", 12)
      .many(Decimal, {{"CCLIMIT", "Credit Card Limit"},
                      {"ODLIMIT", "Overdraft Limit"},
                      {"INTRATE", "Interest Rate"},
                      {"SERVCHG", "Service Charge"}})
      .boolean("SWTAXCALC", "Calculate Tax")
      .text("TAXRPTCUR", "Tax Reporting Currency", 3)
      .int16("TAXRPTTYPE", "Tax Reporting Type")
      .at(184)
      .taxGroup("CODETXGRP", Purchases)
      .taxClassesOfGroup("TXVCLSS", "CODETXGRP")
      .key("Bank Code", {"BANK"})
      .build();
}

}  // namespace

std::vector<ViewDef> bkViews() {
  return {
      banks(),
      ViewBuilder("BK0003", "Distribution Codes")
          .code("TYPE", "Distribution Code", 6)
          .text("DESC", "Description", 60)
          .date("DATELASTMN", "Date Last Maintained")
          .boolean("INACTIVE", "Inactive")
          .date("DATEINACT", "Inactive Date")
          .text("GLACCT", "G/L Account", 45)
          .boolean("TAXCALC", "Calculate Tax")
          .key("Distribution Code", {"TYPE"})
          .build(),
      ViewBuilder("BK0860", "Distribution Code Taxes")
          .code("TYPE", "Distribution Code", 6)
          .taxAuthority("AUTHORITY")
          .taxClassOf("TAXCLASS", "Tax Class", "AUTHORITY", Sales, ItemAxis)
          .taxIncluded("TAXINCL", "AUTHORITY")
          .key("Distribution Code Tax Key", {"TYPE", "AUTHORITY"})
          .detailOf("BK0003")
          .build(),
  };
}

}  // namespace erp

#include "standin/catalog/CatalogShorthand.h"
#include "standin/catalog/CatalogViews.h"

namespace erp {

using namespace shorthand;

std::vector<ViewDef> taxViews() {
  return {
      ViewBuilder("TX0003", "Tax Groups")
          .code("GROUPID", "Tax Group", 12)
          .int16("TTYPE", "Transaction Type")
          .text("DESC", "Description", 60)
          .text("SCURN", "Tax Reporting Currency", 3)
          // The authorities of a group may be blank from the first unused slot on, so they are
          // not checked against the authorities view here.
          .series("AUTHORITY", "Tax Authority", 5, Text, 12)
          .series("TAXABLE", "Taxable", 5, Boolean)
          .at(15)
          .date("LASTMAINT", "Last Maintained")
          .int16("CALCMETHOD", "Calculation Method")
          .series("SURTAX", "Surtax", 5, Boolean)
          .series("SURTAXAUTH", "Surtax on Authority", 5, Text, 12)
          .key("Tax Group Key", {"GROUPID", "TTYPE"})
          .build(),

      ViewBuilder("TX0001", "Tax Classes")
          .code("AUTHORITY", "Tax Authority", 12)
          .int16("CLASSTYPE", "Class Type")
          .int16("CLASSAXIS", "Class Axis")
          .int16("CLASS", "Tax Class")
          .text("DESC", "Description", 60)
          .boolean("EXEMPT", "Exempt")
          .date("LASTMAINT", "Last Maintained")
          .key("Tax Class Key", {"AUTHORITY", "CLASSTYPE", "CLASSAXIS", "CLASS"})
          .build(),

      ViewBuilder("TX0002", "Tax Authorities")
          .code("AUTHORITY", "Tax Authority", 12)
          .text("DESC", "Description", 60)
          .text("SCURN", "Tax Reporting Currency", 3)
          .decimal("MAXTAX", "Maximum Tax Allowable")
          .decimal("MINTAX", "No Tax Charged Below")
          .int16("TXBASE", "Tax Base")
          .at(7)
          .boolean("INCLUDABLE", "Allow Tax in Price")
          .text("LIABILITY", "Tax Liability Account", 45)
          .int16("AUDITLEVEL", "Report Level")
          .boolean("RECOVERABL", "Tax Recoverable")
          .decimal("RATERECOV", "Recoverable Rate")
          .text("ACCTRECOV", "Recoverable Tax Account", 45)
          .boolean("EXPSEPARTE", "Expense Separately")
          .text("ACCTEXP", "Expense Account", 45)
          .date("LASTMAINT", "Last Maintained")
          .key("Tax Authority Key", {"AUTHORITY"})
          .build(),
  };
}

}  // namespace erp

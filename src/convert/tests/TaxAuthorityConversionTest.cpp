#include "convert/tests/ConversionFixture.h"
#include "platform/tests/testsupport/TestData.h"

#include <SQLiteCpp/Statement.h>

#include <map>

namespace convert::testing {
namespace {

using I = std::int64_t;

/// A tax-authority grid set up as start-up does it, its rows filled as the operator left them.
class TaxAuthorityConversionTest : public ConversionFixture {
 protected:
  std::unique_ptr<grids::TaxAuthorityGrid> authorityGrid(const std::string& name) {
    auto grid =
        std::make_unique<grids::TaxAuthorityGrid>([this] { return company.newErrorDisplay(); });
    grid->Name(name);
    grid->Grid(&cells);
    grid->adsTXAUTH(txauth.get());
    grid->adsTXCLASS(txclass.get());
    return grid;
  }

  void setRows(const std::vector<std::vector<std::string>>& rows) {
    cells.SetRowsCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
      for (size_t c = 0; c < rows[r].size(); ++c) {
        cells.SetCellData(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
      }
    }
  }

  /// Committed detail rows of one header: authority -> the listed fields as text.
  std::map<std::string, std::string> committedRows(const std::string& view,
                                                   const std::string& keyField,
                                                   const std::string& key,
                                                   const std::string& fields) {
    SQLite::Statement query(
        company.data().database()->sql(),
        "SELECT AUTHORITY, " + fields + " FROM " + view + " WHERE " + keyField + " = ?");
    query.bind(1, key);
    std::map<std::string, std::string> rows;
    while (query.executeStep()) {
      std::string values;
      for (int i = 1; i < query.getColumnCount(); ++i) {
        values += (i > 1 ? " " : "") + query.getColumn(i).getString();
      }
      rows[query.getColumn(0).getString()] = values;
    }
    return rows;
  }

  host::GridControl cells;
};

TEST_F(TaxAuthorityConversionTest, ItemOperationsWithTwoClassColumnsAreLoggedAndCommitted) {
  auto itemRow = [this](const char* item, const char* authority, I sales, I purchases) {
    company.data().insert(
        "IC0330", {{"ITEMNO", item}, {"AUTHORITY", authority}, {"#4", sales}, {"#3", purchases}});
  };
  for (const char* item : {"A100", "A200", "A300", "A400", "A500"}) {
    company.data().insert("IC0310", {{"ITEMNO", item}, {"FMTITEMNO", item}});
  }
  itemRow("A100", "GST", 1, 1);
  itemRow("A100", "PST", 1, 1);
  itemRow("A200", "GST", 2, 1);
  itemRow("A200", "PST", 1, 1);
  itemRow("A300", "HST", 1, 1);
  itemRow("A500", "HST", 1, 1);
  itemRow("A500", "GST", 3, 3);
  auto items = company.open("IC0310");
  auto itemTaxes = company.open("IC0330", items.get());

  auto grid = authorityGrid("Item Taxes");
  int fromSales = grid->AddFromTaxClassColumn("From Sales Tax Class", 137, 1, 2);
  int fromPurchases = grid->AddFromTaxClassColumn("From Purchases Tax Class", 161, 2, 2);
  int toSales = grid->AddToTaxClassColumn("To Sales Tax Class", 128, 1, 2);
  int toPurchases = grid->AddToTaxClassColumn("To Purchases Tax Class", 152, 2, 2);
  setRows({{"Insert", "HST", "", "", "1", "1"},
           {"Update", "GST", "1", "1", "2", "2"},
           {"Delete", "PST", "", "", "", ""}});

  auto fromItem = rangeControl(*items, 7, "");
  auto toItem = rangeControl(*items, 7, std::string(24, 'Z'));
  auto itemCriteria = criteria(*toItem, *items, "");
  grid->adsHeader(items.get());
  grid->Filter("(ITEMNO>=\" \") AND (ITEMNO<=\"" + std::string(24, 'Z') + " \")");
  grid->adsDetail(itemTaxes.get());
  grid->lAuhorityIDX(2);
  grid->SetTaxClassFieldIDX(fromSales, 4);
  grid->SetTaxClassFieldIDX(fromPurchases, 3);
  grid->SetTaxClassFieldIDX(toSales, 4);
  grid->SetTaxClassFieldIDX(toPurchases, 3);
  engine->StartTaxAuthorityLog(*grid, "IC_Items");
  engine->LogRange(*fromItem, *toItem);
  engine->ConvertTaxAuthorityRecords(*grid, *itemCriteria);

  EXPECT_EQ(platform::testing::TestData("src/convert/tests/data/item-operations.log"),
            log("IC_Items"));

  auto rows = [this](const char* item) {
    return committedRows("IC0330", "ITEMNO", item, "SALESCLASS, PURCHCLASS");
  };
  using Rows = std::map<std::string, std::string>;
  EXPECT_EQ((Rows{{"GST", "2 2"}, {"HST", "1 1"}}), rows("A100"));
  EXPECT_EQ((Rows{{"GST", "2 1"}, {"HST", "1 1"}}), rows("A200"));
  EXPECT_EQ((Rows{{"HST", "1 1"}}), rows("A300"));
  EXPECT_EQ((Rows{{"HST", "1 1"}}), rows("A400"));
  EXPECT_EQ((Rows{{"GST", "3 3"}, {"HST", "1 1"}}), rows("A500"));
  EXPECT_EQ(3, state.lTotalUpdated);
  EXPECT_EQ(2, state.lTotalSkipped);
}

/// A/R items with a tax-included column: authority 2, class 3, tax included 4.
class ARItemConversionTest : public TaxAuthorityConversionTest {
 protected:
  void SetUp() override {
    for (const char* item : {"B100", "B200"}) company.data().insert("AR0010", {{"IDITEM", item}});
    company.data().insert("AR0011", {{"IDITEM", "B100"}, {"AUTHORITY", "PST"}, {"#3", I{1}}});
    company.data().insert("AR0011", {{"IDITEM", "B200"}, {"AUTHORITY", "PST"}, {"#3", I{1}}});
    company.data().insert("AR0011", {{"IDITEM", "B200"}, {"AUTHORITY", "GST"}, {"#3", I{1}}});
    items = company.open("AR0010");
    taxes = company.open("AR0011", items.get());
    grid = authorityGrid("A/R Item Taxes");
    int from = grid->AddFromTaxClassColumn("From Tax Class", 109, 1, 2);
    int to = grid->AddToTaxClassColumn("To Tax Class", 99, 1, 2);
    int included = grid->AddTaxIncludedColumn("Tax Included", 80);
    toItem = rangeControl(*items, 1, std::string(16, 'Z'));
    itemCriteria = criteria(*toItem, *items, "");
    grid->adsHeader(items.get());
    grid->Filter("");
    grid->adsDetail(taxes.get());
    grid->lAuhorityIDX(2);
    grid->SetTaxClassFieldIDX(from, 3);
    grid->SetTaxClassFieldIDX(to, 3);
    grid->SetTaxIncludedFieldIDX(included, 4);
  }

  void convert() {
    engine->StartTaxAuthorityLog(*grid, "AR_Items");
    engine->ConvertTaxAuthorityRecords(*grid, *itemCriteria);
  }

  std::unique_ptr<host::DataSource> items;
  std::unique_ptr<host::DataSource> taxes;
  std::unique_ptr<grids::TaxAuthorityGrid> grid;
  std::unique_ptr<host::FieldEditControl> toItem;
  std::unique_ptr<grids::CriteriaField> itemCriteria;
};

TEST_F(ARItemConversionTest, TaxIncludedIsWrittenOnlyForYesAndRefusedWhereNotAllowed) {
  // B100 gets its PST row deleted and a GST row with tax included, which GST does not allow:
  // the ERP refuses, and nothing of B100 is committed. B200 has its GST row already.
  setRows({{"Delete", "PST", "", "", ""},
           {"Insert", "GST", "", "1", "Yes"},
           {"Insert", "HST", "", "2", "Yes"}});
  convert();
  std::string log = this->log("AR_Items");
  EXPECT_NE(std::string::npos,
            log.find("<stamp> Converting A/R Items B100...\r\n"
                     "<stamp>     Deleting A/R Item Taxes B100-PST\r\n"
                     "<stamp>     Convert A/R Item Taxes B100-GST failed. Return code=0.\r\n"
                     "<stamp>     Tax authority GST does not allow tax included in the price.\r\n"
                     "<stamp> Converting A/R Items B200...\r\n"
                     "<stamp>     Deleting A/R Item Taxes B200-PST\r\n"
                     "<stamp>     Inserting A/R Item Taxes B200-HST\r\n"
                     "<stamp> Convert A/R Items B200 succeeded.\r\n"))
      << log;
  EXPECT_NE(std::string::npos, log.find("\t1 A/R Items could not be updated.")) << log;
  auto rows = [this](const char* item) {
    return committedRows("AR0011", "IDITEM", item, "SWTAXINCL");
  };
  using Rows = std::map<std::string, std::string>;
  EXPECT_EQ((Rows{{"PST", "0"}}), rows("B100")) << "header and details as they were";
  EXPECT_EQ((Rows{{"GST", "0"}, {"HST", "1"}}), rows("B200"));
  EXPECT_EQ(1, state.lTotalFailed);
  EXPECT_EQ("", processing.Text());
}

TEST_F(ARItemConversionTest, InvalidOperationsAndTwoOperationsShareOneConvertingLine) {
  setRows({{"Replace", "PST", "1", "2", "No"}, {"Update", "PST", "1", "2", "No"}});
  convert();
  std::string log = this->log("AR_Items");
  EXPECT_NE(std::string::npos,
            log.find("<stamp> Converting A/R Items B100...\r\n"
                     "<stamp>     Invalid operation Replace  A/R Item Taxes B100-. Ignored\r\n"
                     "<stamp>     Updating A/R Item Taxes B100-PST\r\n"
                     "<stamp> Convert A/R Items B100 succeeded.\r\n"))
      << log;
}

TEST_F(ARItemConversionTest, CancelAbandonsTheRecordWithoutCommitAndEndsTheKind) {
  setRows({{"Delete", "PST", "", "", ""}, {"Insert", "HST", "", "1", "No"}});
  int polls = 0;
  pump.onMessages = [&] {
    // The second poll inside B100 comes before its second row.
    if (processing.Text() == "Converting A/R Items B100..." && ++polls == 3) {
      state.CancelRequested = true;
    }
  };
  convert();
  std::string log = this->log("AR_Items");
  EXPECT_NE(std::string::npos, log.find("Ordavel for A/R Items canceled.\r\n<stamp> \r\n<stamp> "
                                        "\t2 A/R Items to convert.\r\n<stamp> \t0 A/R Items "
                                        "converted.\r\n"))
      << log;
  auto rows = committedRows("AR0011", "IDITEM", "B100", "SWTAXINCL");
  EXPECT_EQ(1u, rows.count("PST")) << "the delete of the cancelled record was not committed";
}

}  // namespace
}  // namespace convert::testing

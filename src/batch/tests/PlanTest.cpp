#include "batch/PlanFile.h"
#include "batch/PlanRun.h"

#include "RunnerFixture.h"

#include <SQLiteCpp/Statement.h>

#include <regex>

namespace batch {
namespace {

/// SAMLTD's customers C100, C200 on OLD 1,1 and C300 on OLD 2,2, and A/R items with PST rows.
class PlanTest : public fixture::RunnerTest {
 public:
  void SetUp() override {
    RunnerTest::SetUp();
    item("I100", {{"GST", 1}, {"PST", 1}});
  }

  void item(const std::string& id, const std::map<std::string, std::int64_t>& rows) {
    company->insert("AR0010", {{"IDITEM", id}});
    for (const auto& [authority, taxClass] : rows) {
      company->insert("AR0011", {{"IDITEM", id}, {"AUTHORITY", authority}, {"TAXSTTS", taxClass}});
    }
  }

  std::string rowsOf(const std::string& id) {
    SQLite::Statement query(company->database()->sql(),
                            "SELECT AUTHORITY, TAXSTTS FROM AR0011 WHERE IDITEM = ? ORDER BY "
                            "AUTHORITY");
    query.bind(1, id);
    std::string text;
    while (query.executeStep()) {
      text += query.getColumn(0).getString() + " " + query.getColumn(1).getString() + "; ";
    }
    return text;
  }

  /// The kind's conversion log of today.
  std::filesystem::path LogOf(const std::string& kind) {
    for (const auto& entry : std::filesystem::directory_iterator(logs())) {
      if (entry.path().filename().string().ends_with("_" + kind + ".log")) return entry.path();
    }
    return {};
  }

  ExitStatus RunPlanText(const std::string& text, bool previewOnly = false) {
    const convert::Plan plan = ReadPlanFile(writeJob(text));
    Workstation station = Station([this](const std::string&) {
      ++questions;
      return true;
    });
    ProgressDisplay progress(out, false, [] { return std::chrono::steady_clock::time_point{}; });
    return RunPlan(plan, station, progress, out, previewOnly);
  }

  int questions = 0;
  const std::string kPlanHead = "[Plan]\nUser=ADMIN\nCompanies=SAMLTD\nModules=AR, OE\n";
  const std::string kGroup = "[Group OLD]\nTo=HST\nClasses=1,1 -> 1; 2,2 -> 2\n";
  const std::string kAuthority = "[Authority PST]\nTo=HST\nClasses=1 -> 1; 2 -> 2\n";
};

TEST_F(PlanTest, ClassMapsAndReplacementsConvertOnlyWhatThePlanDescribes) {
  customer(*company, "C400", "3");
  item("I200", {{"GST", 1}, {"PST", 3}});
  item("I300", {{"GST", 1}, {"HST", 1}});
  item("I400", {{"PST", 2}, {"HST", 1}});
  deactivate("OE");
  EXPECT_EQ(kIncomplete, RunPlanText(kPlanHead + kGroup + kAuthority)) << output();
  EXPECT_EQ("HST", taxGroupOf("C100"));
  EXPECT_EQ("HST", taxGroupOf("C300"));
  EXPECT_EQ("OLD", taxGroupOf("C400"));
  EXPECT_EQ("GST 1; HST 1; ", rowsOf("I100"));
  EXPECT_EQ("GST 1; PST 3; ", rowsOf("I200"));
  EXPECT_EQ("GST 1; HST 1; ", rowsOf("I300"));
  EXPECT_EQ("HST 1; PST 2; ", rowsOf("I400"));
  const std::string text = out.str();
  EXPECT_NE(std::string::npos, text.find("SAMLTD does not run OE: skipped.\n")) << text;
  // Selected, converted, skipped, not affected, failed.
  const std::string table = std::regex_replace(text, std::regex(" +"), " ");
  EXPECT_NE(std::string::npos, table.find("SAMLTD Customers 4 3 1 0 0\n")) << text;
  EXPECT_NE(std::string::npos, table.find("SAMLTD A/R Items 4 1 2 1 0\n")) << text;
  const std::string runFile = text.substr(text.find("Plan-run file: ") + 15);
  const std::string changes = bytesOf(runFile.substr(0, runFile.find('\n')));
  EXPECT_NE(std::string::npos, changes.find("_AR_conversion_changes.csv,")) << changes;
  std::string reasons;
  for (const auto& entry : std::filesystem::directory_iterator(logs())) {
    if (entry.path().string().ends_with("_AR_conversion_changes.csv")) reasons = bytesOf(entry);
  }
  const std::string customersLog = bytesOf(LogOf("AR_Customers"));
  EXPECT_NE(std::string::npos, customersLog.find("Class Maps\r\n")) << customersLog;
  EXPECT_NE(std::string::npos, customersLog.find("\t[2,2] -> [2]\r\n")) << customersLog;
  const std::string itemsLog = bytesOf(LogOf("AR_Items"));
  for (const char* line :
       {"Replace [PST] by [HST], classes 1 -> 1, 2 -> 2, tax included kept\r\n",
        "Deleting A/R Item Taxes I100-PST\r\n", "Inserting A/R Item Taxes I100-HST\r\n",
        "I400 skipped. It already has a row for HST.\r\n"}) {
    EXPECT_NE(std::string::npos, itemsLog.find(line)) << line << itemsLog;
  }
  for (const char* reason :
       {"skipped: tax classes 3,3 match no class map", "skipped: PST class 3 is not mapped",
        "skipped: it already has a row for HST"}) {
    EXPECT_NE(std::string::npos, reasons.find(reason)) << reason;
  }
}

TEST_F(PlanTest, EachCheckOfThePlanOnItsCompaniesRefusesTheWholePlan) {
  auto refused = [this](const std::string& name, const std::string& body,
                        const std::string& message) {
    out.str("");
    EXPECT_EQ(kRefused, RunPlanText(body)) << name;
    EXPECT_NE(std::string::npos, out.str().find(message)) << name << "\n" << output();
    EXPECT_NE(std::string::npos, out.str().find("Nothing was converted.")) << name;
    EXPECT_EQ("OLD", taxGroupOf("C100")) << name;
    EXPECT_EQ("GST 1; PST 1; ", rowsOf("I100")) << name;
  };
  refused("unknown group", kPlanHead + "[Group NOPE]\nTo=HST\nClasses=1,1 -> 1\n" + kAuthority,
          ":5: Tax group NOPE does not exist for sales. (company SAMLTD)");
  refused("class list of the wrong length", kPlanHead + "[Group OLD]\nTo=HST\nClasses=1 -> 1\n",
          ":7: 1 has 1 classes, but tax group OLD has 2 authorities for sales (GST, PST).");
  refused("unknown class", kPlanHead + "[Group OLD]\nTo=HST\nClasses=1,9 -> 1\n",
          ":7: Tax class 9 of authority PST does not exist for sales.");
  refused("unknown authority", kPlanHead + "[Authority QST]\nTo=HST\nClasses=1 -> 1\n",
          ":5: Tax authority QST does not exist.");
  refused("tax included where the authority allows none",
          kPlanHead + "[Authority PST]\nTo=GST\nClasses=1 -> 1\nTaxIncluded=Yes\n",
          ":5: Tax authority GST does not allow tax included in prices.");
  refused("a company the user cannot open",
          "[Plan]\nUser=ADMIN\nCompanies=SAMLTD, NOSUCH\n" + kGroup,
          ":3: user ADMIN cannot sign on to company NOSUCH.");
  host::KindClaim otherRun(logs().string(), "AR_Items", "CLERK", std::chrono::system_clock::now());
  ASSERT_TRUE(otherRun.Held());
  refused("a kind another run converts", kPlanHead + kGroup + kAuthority,
          "A/R Items of company SAMLTD are being converted by user CLERK since ");
}

TEST_F(PlanTest, APreviewSavesNothingAndAConversionAsksTheBackupQuestionOnce) {
  EXPECT_EQ(kComplete, RunPlanText(kPlanHead + kGroup + kAuthority, true)) << output();
  EXPECT_EQ("OLD", taxGroupOf("C100"));
  EXPECT_EQ("GST 1; PST 1; ", rowsOf("I100"));
  EXPECT_NE(std::string::npos, out.str().find("Would convert    Would skip  Not affected"));
  EXPECT_EQ(std::string::npos, out.str().find("Plan-run file")) << output();
  EXPECT_EQ(0, questions);
  // A/R and O/E: two runs, one question.
  EXPECT_EQ(kComplete, RunPlanText(kPlanHead + kGroup + kAuthority)) << output();
  EXPECT_EQ(1, questions);
  EXPECT_EQ("HST", taxGroupOf("C100"));
}

TEST_F(PlanTest, AJobReplacesAnAuthorityByRowsOfItsOperationsGrid) {
  item("I200", {{"GST", 1}});
  const std::string items = kRunAR + "[chkARItemTaxes]\nChecked=Yes\n[ARItemsGrid]\n";
  EXPECT_EQ(kRefused, Run(items + "Row1=Replace,PST,QST,1,1\n")) << output();
  EXPECT_NE(std::string::npos, out.str().find(":8: Tax authority QST does not exist.")) << output();
  EXPECT_THROW(Run(items + "Row1=Replace,PST,HST,1\n"), JobFileError);
  EXPECT_EQ(kComplete, Run(items + "Row1=Replace,PST,HST,1,1\nRow2=Replace,PST,HST,2,2\n"))
      << output();
  EXPECT_EQ("GST 1; HST 1; ", rowsOf("I100"));
  EXPECT_EQ("GST 1; ", rowsOf("I200"));
}

TEST(PlanFileTest, EveryProblemOfAPlanFileIsRefusedWithItsLine) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("plan-" + std::to_string(::getpid()) + ".plan");
  auto problems = [&file](const std::string& text) {
    std::ofstream(file) << text;
    try {
      ReadPlanFile(file.string());
    } catch (const JobFileError& error) {
      return std::string(error.what());
    }
    return std::string("accepted");
  };
  const std::string head = "[Plan]\nUser=ADMIN\nCompanies=SAMLTD\n";
  const std::pair<std::string, std::string> cases[] = {
      {head + "[Group A]\nTo=A\nClasses=1 -> 1\n", ":5: Tax group A is mapped to itself."},
      {head + "[Group A]\nTo=B\nClasses=1 -> 1\n[group a]\nTo=C\nClasses=1 -> 1\n",
       "Section [group a] is repeated"},
      {head + "[Group A]\nTo=B\nClasses=1 -> 1\n[Group B]\nTo=C\nClasses=1 -> 1\n",
       ":7: Tax group B is mapped on, but line 5 maps tax group A to it."},
      {head + "[Authority P]\nTo=H\nClasses=1\n", "Classes must be class maps such as 1,1 -> 1"},
      {head + "[Authority P]\nTo=H\nClasses=1,1 -> 1\n", "map one class to one class"},
      {head + "[Group A]\nTo=B\nClasses=1 -> 1; 1 -> 2\n", "Classes map 1 twice."},
      {head + "[Group A]\nTo=B\nClasses=1 -> 1\nType=Both\n", "Type must be Sales, Purchases"},
      {head + "[Authority P]\nTo=H\nClasses=1 -> 1\nTaxIncluded=Maybe\n",
       "TaxIncluded must be Keep, Yes or No"},
      {head + "Modules=AR, GL\n[Group A]\nTo=B\nClasses=1 -> 1\n", ":4: Modules must be among"},
      {head + "[Group A]\nTo=B\nClasses=1 -> 1\nColour=red\n", "Unknown key Colour"},
      {head + "[Tax A]\n", "Unknown section [Tax A]"},
      {head, "it would change nothing"},
      {"[Group A]\nTo=B\nClasses=1 -> 1\n", "no [Plan] section"},
      {"\xEF\xBB\xBF[plan]\nuser=admin\ncompanies=*\n[group a]\nto=b\nclasses=1,1 -> 1\n",
       "accepted"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_NE(std::string::npos, problems(text).find(expected)) << text << problems(text);
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace batch

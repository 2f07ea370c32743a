#include "app/ConversionRun.h"

#include "app/tests/testsupport/Form1Fixture.h"
#include "host/KindClaim.h"
#include "platform/tests/testsupport/TestData.h"
#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

namespace app {
namespace {

using I = std::int64_t;

using testing::kAPTab;
using testing::kARTab;
using testing::kBankTab;

const std::string kBankComplete =
    "Conversion of Bank tax information is complete. Do you want to explore the conversion log "
    "files?";
const std::string kBackupQuestion =
    "You should back up your database before converting tax information. Do you want to proceed?";

/// The main window on a stand-in company with every module, and its run behind Convert.
class ConversionRunTest : public testing::Form1Fixture {
 protected:
  void SetUp() override {
    Install(true, kAll);
    customer("A\"1", 1);
    customer("A\"2", 2);
    ASSERT_TRUE(Window().Load());
    logFolder = util::ResolvePathCase(form->Connection()->getLogPath());
  }
  void TearDown() override { form->Unload(); }

  /// Customer `id` on tax group OLD with classes `class1` and 1.
  void customer(const char* id, I class1) {
    company->insert(
        "AR0024",
        {{"IDCUST", id}, {"CODETAXGRP", "OLD"}, {"TAXSTTS1", class1}, {"TAXSTTS2", I{1}}});
  }

  ConversionRun& run() { return *form->Run(); }

  /// Types `group` into a tax-group control and leaves it, as the operator does.
  void taxGroup(const std::string& control, const std::string& group) {
    form->RangeControl(control).Type(group);
    ASSERT_TRUE(form->RangeControl(control).Leave()) << errors.str();
  }

  /// The Bank tab active with banks checked and nothing wrong with their input.
  void bankTab() {
    form->SSTab1().SetTab(kBankTab);
    form->CheckBoxNamed("chkConvertBanks").SetValue(1);
    taxGroup("afecBanksFromTaxGroup", "OLD");
    taxGroup("afecBanksToTaxGroup", "HST");
  }

  /// The Accounts Receivable tab active with customers checked: A"1 matches the from mapping,
  /// A"2 has other classes.
  void customersTab() {
    form->SSTab1().SetTab(kARTab);
    form->CheckBoxNamed("chkCustomers").SetValue(1);
    // The other kinds of the sales mapping are not checked, but the window has their ranges.
    for (const char* pair :
         {"CustomerGroup", "CustomerShipTo", "ChargeCode", "ChargeCodeCustomer"}) {
      form->RangeControl(std::string("afecFrom") + pair).SetValue("B");
      form->RangeControl(std::string("afecTo") + pair).SetValue("A");
    }
    taxGroup("afecSalesFromTaxGroup", "OLD");
    taxGroup("afecSalesToTaxGroup", "HST");
  }

  /// The whole log of `logName` of the run, each line's stamp replaced by "<stamp>"; empty when
  /// there is none.
  std::string log(const std::string& logName) const {
    if (!std::filesystem::is_directory(logFolder)) return "";
    for (const auto& entry : std::filesystem::directory_iterator(logFolder)) {
      if (entry.path().string().ends_with("_" + logName + ".log")) {
        return platform::testing::MaskStamps(platform::testing::ReadFile(entry.path()));
      }
    }
    return "";
  }

  /// The texts of the questions asked, in order.
  std::vector<std::string> questions() const { return messages.Texts(); }

  std::filesystem::path logFolder;
};

TEST_F(ConversionRunTest, NothingCheckedIsReportedWithoutTheBackupQuestion) {
  form->SSTab1().SetTab(kAPTab);
  form->CheckBoxNamed("chkCustomers").SetValue(1);
  run().ConvertButtonClick();
  EXPECT_EQ("Error: There is nothing selected for Accounts Payable to convert.\n", errors.str());
  EXPECT_EQ(std::vector<std::string>{}, questions());
}

TEST_F(ConversionRunTest, AllProblemsOfOnePressAreShownTogether) {
  customersTab();
  form->RangeControl("afecFromCustomer").SetValue("B");
  form->RangeControl("afecToCustomer").SetValue("A");
  form->RangeControl("afecSalesToTaxGroup").SetValue("");
  // Joined with the kind's filter, these criteria would close its parenthesis and select every
  // customer whatever its tax group.
  form->Criteria("CustomerCriteria").Filter(R"(IDCUST = "ZZZ") OR (IDCUST >= " ")");
  run().ConvertButtonClick();
  EXPECT_EQ(
      "Error: Invalid input. From Customer is greater then to Customer.\n"
      "Error: Invalid input. To Sales Tax Group cannot be blank.\n"
      "Error: Invalid input. Additional Criteria for Customers: Unexpected text after the filter "
      "at position 14.\n",
      errors.str());
  EXPECT_EQ(std::vector<std::string>{}, questions());
  EXPECT_EQ("", log("AR_Customers"));
  EXPECT_EQ(RunEnd::Refused, run().LastEnd());
}

TEST_F(ConversionRunTest, CriteriaMustBeACompleteFilterOfTheirView) {
  customersTab();
  const std::pair<std::string, std::string> cases[] = {
      {"(IDCUST = \"1\"", "Missing closing parenthesis at position 13."},
      {"NOFIELD = 1", "Unknown field NOFIELD at position 0."},
      {"IDCUST =", "Expected a value after = at position 8."},
      {"IDCUST ~ \"1\"", "Expected an operator after IDCUST at position 7."},
      // As deep as a filter may be on its own; the run nests them inside the kind's filter.
      {std::string(64, '(') + "IDCUST = \"1\"" + std::string(64, ')'),
       "Parentheses nested more than 64 deep when joined with the kind's own selection, at "
       "position 63."},
  };
  for (const auto& [criteria, problem] : cases) {
    const size_t shownBefore = errors.str().size();
    form->Criteria("CustomerCriteria").Filter(criteria);
    run().ConvertButtonClick();
    EXPECT_EQ("Error: Invalid input. Additional Criteria for Customers: " + problem + "\n",
              errors.str().substr(shownBefore))
        << criteria;
  }
  form->Criteria("CustomerCriteria").Filter(R"((IDCUST = "A\"1"))");
  run().ConvertButtonClick();
  EXPECT_EQ(RunEnd::Finished, run().LastEnd()) << errors.str();
}

TEST_F(ConversionRunTest, AKindAnotherRunConvertsIsRefusedAtOnce) {
  bankTab();
  host::KindClaim other(form->Connection()->getLogPath(), "BK_Banks", "CLERK",
                        std::chrono::system_clock::now());
  ASSERT_TRUE(other.Held());
  run().ConvertButtonClick();
  EXPECT_TRUE(errors.str().starts_with(
      "Error: Banks of company SAMLTD are being converted by user CLERK since "))
      << errors.str();
  EXPECT_EQ(std::vector<std::string>{}, questions());
}

TEST_F(ConversionRunTest, AKindThatCannotBeClaimedIsRefusedAtOnce) {
  bankTab();
  const std::filesystem::path lock = logFolder / ".BK_Banks.lock";
  std::filesystem::create_directories(lock);
  run().ConvertButtonClick();
  EXPECT_EQ("Error: Banks of company SAMLTD cannot be claimed for this run: the claim file " +
                lock.string() + " is a folder.\n",
            errors.str());
  EXPECT_EQ(std::vector<std::string>{}, questions());
  EXPECT_EQ(RunEnd::Refused, run().LastEnd());
}

TEST_F(ConversionRunTest, AKindThatCannotBeBrowsedIsAnErrorOfTheRun) {
  bankTab();
  // The banks' view goes away after the checks, while the operator answers.
  messages.onAsk = [this] {
    messages.onAsk = nullptr;
    company->database()->sql().exec("DROP TABLE BK0001");
  };
  run().ConvertButtonClick();
  EXPECT_EQ(1, run().LastResult().kindsFailed);
  EXPECT_EQ(
      "Conversion of Bank tax information is complete. Errors occured during conversion of tax "
      "information. Do you want to explore the conversion log files?",
      questions().at(1));
}

TEST_F(ConversionRunTest, KindsOfAnotherTabAreNeitherCheckedNorRun) {
  bankTab();
  form->CheckBoxNamed("chkCustomers").SetValue(1);
  form->RangeControl("afecFromCustomer").SetValue("B");
  form->RangeControl("afecToCustomer").SetValue("A");
  run().ConvertButtonClick();
  EXPECT_EQ("", errors.str());
  EXPECT_EQ("", log("AR_Customers"));
  EXPECT_EQ((std::vector<std::string>{kBackupQuestion, kBankComplete}), questions());
}

TEST_F(ConversionRunTest, NoAtTheBackupQuestionRunsNothing) {
  bankTab();
  int pumped = 0;
  pump.onMessages = [&] { ++pumped; };
  messages.answers = {false};
  run().ConvertButtonClick();
  EXPECT_EQ(std::vector<std::string>{kBackupQuestion}, questions());
  EXPECT_EQ("Warning", messages.boxes.at(0).title);
  EXPECT_EQ(host::MessageIcon::Question, messages.boxes.at(0).icon);
  EXPECT_EQ(0, pumped) << "the window was never locked";
  EXPECT_EQ("", log("BK_Banks"));
}

TEST_F(ConversionRunTest, ACompleteBankRunEndsWithTheExactQuestion) {
  bankTab();
  messages.answers = {true, false};
  run().ConvertButtonClick();
  EXPECT_EQ((std::vector<std::string>{kBackupQuestion, kBankComplete}), questions());
  EXPECT_EQ("Ordavel", messages.boxes.at(1).title);
  EXPECT_EQ(host::MessageIcon::Question, messages.boxes.at(1).icon);
  EXPECT_NE(std::string::npos, log("BK_Banks").find("From Bank Code [] to Bank Code [ZZZZZZZZ]"));
  EXPECT_EQ(std::vector<std::string>{}, shell.explored) << "No leaves the folder closed";
}

TEST_F(ConversionRunTest, YesOpensTheLogFolder) {
  bankTab();
  run().ConvertButtonClick();
  // The folder as it is spelled on disk, which the file browser can open.
  EXPECT_EQ(
      std::vector<std::string>{util::Quote(site.sharedData().string() + "/Company/SAMLTD/Ordavel")},
      shell.explored);
}

TEST_F(ConversionRunTest, ACancelledRunWithSkippedRecordsSaysSo) {
  customersTab();
  // Both customers are through, the second one skipped, when the operator cancels.
  pump.onMessages = [&] {
    if (form->ProgressBar().Value() >= 2) form->cmdCancel().Click();
  };
  run().ConvertButtonClick();
  EXPECT_EQ(
      "Conversion of Accounts Receivable tax information canceled. There was tax information "
      "not converted because tax classes did not match, or no operations were performed. Do you "
      "want to explore the conversion log files?",
      questions().at(1));
}

TEST_F(ConversionRunTest, EachKindAnnouncesItsStartAndWhatItCounted) {
  customersTab();
  std::vector<std::string> events;
  auto started = run().KindStarted.Connect(
      [&](const convert::KindDef& kind) { events.push_back("start " + kind.checkBox); });
  auto finished = run().KindFinished.Connect(
      [&](const convert::KindDef& kind, const convert::KindOutcome& end) {
        const convert::KindCounts& n = end.counts;
        events.push_back("end " + kind.checkBox + " " + std::to_string(n.records) +
                         std::to_string(n.updated) + std::to_string(n.skipped) +
                         std::to_string(n.failed) + (end.endedByError ? " error" : "") +
                         (end.cancelled ? " cancelled" : ""));
      });
  run().ConvertButtonClick();
  EXPECT_EQ((std::vector<std::string>{"start chkCustomers", "end chkCustomers 2110"}), events);
}

TEST_F(ConversionRunTest, ASecondRunStartsAfresh) {
  customersTab();
  pump.onMessages = [&] {
    if (run().Running()) run().CancelButtonClick();
  };
  run().ConvertButtonClick();
  EXPECT_TRUE(run().LastResult().cancelled) << "kept after the run";
  pump.onMessages = nullptr;
  form->CheckBoxNamed("chkCustomers").SetValue(0);
  bankTab();
  run().ConvertButtonClick();
  EXPECT_EQ(kBankComplete, questions().back());
  EXPECT_FALSE(run().LastResult().cancelled);
  const convert::ConversionResult& result = run().LastResult();
  EXPECT_EQ(0, result.totalFailed + result.totalSkipped + result.totalUpdated);
}

TEST_F(ConversionRunTest, WindowStatesSwitchEveryPiece) {
  int pumped = 0;
  pump.onMessages = [&] { ++pumped; };
  auto windowState = [&](bool idle) {
    run().SetWindowIdle(idle);
    std::string bits;
    const std::vector<const host::WindowControl*> enabling = {
        &form->mnuHelp(), &form->mnuFile(),   &form->cmdClose(),
        &form->SSTab1(),  &form->cmdCancel(), &form->cmdConvert()};
    for (const host::WindowControl* control : enabling) bits += control->Enabled() ? '1' : '0';
    bits += form->cmdCancel().Visible() ? " cancel" : "";
    bits += form->cmdConvert().Visible() ? " convert" : "";
    bits += form->frmProgress().Visible() ? " progress" : "";
    return bits;
  };
  EXPECT_EQ("000010 cancel progress", windowState(false));
  EXPECT_EQ("111101 convert", windowState(true));
  EXPECT_EQ(2, pumped);
}

TEST_F(ConversionRunTest, ASetUpErrorEndsTheRunAndIsShown) {
  bankTab();
  form->CheckBoxNamed("chkConvertBankDistributionCodes").SetValue(1);
  form->GridControlNamed("agBKBankDistributionCodes").Focus();
  form->GridControlNamed("agBKBankDistributionCodes").EditCell(1, 0, "GST");
  // The window goes away while the second kind is being set up.
  auto started = run().KindStarted.Connect([](const convert::KindDef& kind) {
    if (kind.checkBox == "chkConvertBankDistributionCodes") {
      throw std::runtime_error("The window went away.");
    }
  });

  run().ConvertButtonClick();

  EXPECT_NE(std::string::npos, log("BK_Banks").find("<stamp> The window went away.\r\n"))
      << log("BK_Banks");
  EXPECT_EQ("Error: The window went away.\n", errors.str());
  EXPECT_EQ("", log("BK_BankDistributionCodes")) << "the next kind was not started";
  EXPECT_EQ(std::vector<std::string>{kBackupQuestion}, questions()) << "no final message";
  EXPECT_TRUE(form->cmdConvert().Visible());
  EXPECT_FALSE(run().Running());
}

TEST_F(ConversionRunTest, LostLogLinesAreMentioned) {
  bankTab();
  // A folder where the kind's log belongs makes every log line fail.
  std::filesystem::create_directories(logFolder /
                                      form->Connection()->getLogFileName("", "_BK_Banks"));
  run().ConvertButtonClick();
  EXPECT_EQ(
      "Conversion of Bank tax information is complete. Some lines could not be written to the "
      "conversion log. Do you want to explore the conversion log files?",
      questions().at(1));
}

TEST_F(ConversionRunTest, ClosingDuringARunWaitsForItsEnd) {
  bankTab();
  std::vector<bool> answers;
  pump.onMessages = [&] {
    // Asked once, while the window is being locked, before the run starts.
    if (run().Running() && answers.empty()) answers.push_back(run().RequestClose());
    EXPECT_FALSE(form->Unloaded()) << "not closed under the running loop";
  };
  run().ConvertButtonClick();
  EXPECT_EQ(std::vector<bool>{false}, answers);
  EXPECT_TRUE(run().LastResult().cancelled);
  EXPECT_NE(std::string::npos, log("BK_Banks").find(" canceled.")) << log("BK_Banks");
  EXPECT_TRUE(form->Unloaded());
  EXPECT_EQ(std::vector<std::string>{kBackupQuestion}, questions()) << "no final message";
  EXPECT_FALSE(run().Running());
  EXPECT_TRUE(run().RequestClose()) << "an idle window closes at once";
}

TEST_F(ConversionRunTest, TheFrameIsDrawnOnTheClockAndAtTheKindsStartCountAndEndNotPerRecord) {
  for (int n = 3; n <= 40; ++n) customer(("A\"" + std::to_string(n)).c_str(), 1);
  customersTab();
  clock = [] { return std::chrono::steady_clock::time_point{}; };
  int pumped = 0;
  pump.onMessages = [&] { ++pumped; };
  run().ConvertButtonClick();
  // Locking the window, the kind's start, its count, its end, unlocking the window.
  EXPECT_EQ(5, pumped);
  EXPECT_EQ("Customers: 40 of 40", form->ProgressBar().Text());
  EXPECT_EQ(40, run().LastResult().kinds.at(0).outcome.counts.records);
}

TEST_F(ConversionRunTest, TheBarShowsRecordsDoneOfThoseToConvertWithRateAndTimeLeft) {
  customersTab();
  std::vector<std::string> shown;
  auto watch =
      form->ProgressBar().TextChanged.Connect([&] { shown.push_back(form->ProgressBar().Text()); });
  run().ConvertButtonClick();
  ASSERT_LE(4u, shown.size());
  EXPECT_EQ("Customers: counting the records", shown[0]);
  EXPECT_EQ("Customers: 0 of 2", shown[1]) << "before the first record is through";
  // The ticking clock moves 0.1 s at every reading: the rate and the time left follow it.
  const std::regex line(R"(Customers: [12] of 2, [1-9]\d* records/s, \d+\.\d s left)");
  for (std::size_t i = 2; i < shown.size(); ++i)
    EXPECT_TRUE(std::regex_match(shown[i], line)) << shown[i];
  EXPECT_TRUE(shown.back().starts_with("Customers: 2 of 2, ")) << shown.back();
  EXPECT_TRUE(shown.back().ends_with(" 0.0 s left")) << shown.back();
}

}  // namespace
}  // namespace app

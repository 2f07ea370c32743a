#include "convert/ConversionRun.h"

#include "convert/TabChecks.h"
#include "convert/tests/ConversionFixture.h"
#include "host/testsupport/RecordingMessages.h"
#include "util/ResolvePathCase.h"
#include "util/ShellHelpers.h"
#include "util/tests/testsupport/Recording.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>

namespace convert::testing {
namespace {

using I = std::int64_t;

template <typename T>
T& Lookup(const std::map<std::string, T*>& table, const std::string& name) {
  auto it = table.find(name);
  if (it == table.end()) throw std::out_of_range("No control is named " + name + ".");
  return *it->second;
}

/// The main window's run pieces as plain models, its names resolved from maps a test fills.
class FakeRunWindow : public RunWindow {
 public:
  explicit FakeRunWindow(host::EventPump& pump) : pump_(pump) {}

  host::FieldEditControl& RangeControl(const std::string& name) override {
    return Lookup(controls, name);
  }
  host::DataSource& Source(const std::string& name) override { return Lookup(sources, name); }
  grids::TaxGroupGrid& TaxGroupGridNamed(const std::string& name) override {
    return Lookup(taxGroupGrids, name);
  }
  grids::TaxAuthorityGrid& TaxAuthorityGridNamed(const std::string& name) override {
    return Lookup(authorityGrids, name);
  }
  grids::CriteriaField& Criteria(const std::string& name) override {
    return Lookup(criteriaFields, name);
  }
  host::CheckBox& CheckBoxNamed(const std::string& name) override { return boxes[name]; }
  host::TabControl& SSTab1() override { return tabs; }
  host::MenuItem& mnuHelp() override { return help; }
  host::MenuItem& mnuFile() override { return file; }
  host::CommandButton& cmdClose() override { return close; }
  host::CommandButton& cmdConvert() override { return convert; }
  host::CommandButton& cmdCancel() override { return cancel; }
  host::WindowControl& frmProgress() override { return progress; }
  host::MessageBoxes& Messages() override { return messages; }
  util::Shell& Shell() override { return shell; }
  host::EventPump& Pump() override { return pump_; }

  std::map<std::string, host::FieldEditControl*> controls;
  std::map<std::string, host::DataSource*> sources;
  std::map<std::string, grids::TaxGroupGrid*> taxGroupGrids;
  std::map<std::string, grids::TaxAuthorityGrid*> authorityGrids;
  std::map<std::string, grids::CriteriaField*> criteriaFields;
  std::map<std::string, host::CheckBox> boxes;
  host::TabControl tabs{{"Accounts Payable", "Accounts Receivable", "Inventory Control",
                         "Order Entry", "Purchase Orders", "Bank"}};
  host::MenuItem help, file;
  host::CommandButton close, convert, cancel;
  host::WindowControl progress;
  host::testing::RecordingMessages messages;
  util::testing::RecordingShell shell;

 private:
  host::EventPump& pump_;
};

constexpr int kAPTab = 0;
constexpr int kARTab = 1;
constexpr int kBankTab = 5;

const std::string kBankComplete =
    "Conversion of Bank tax information is complete. Do you want to explore the conversion log "
    "files?";
const std::string kBackupQuestion =
    "You should back up your database before converting tax information. Do you want to proceed?";

class ConversionRunTest : public ConversionFixture {
 protected:
  ConversionRunTest()
      : window(pump), run(window, company.connection(), *engine, [this] { ++closes; }) {}

  host::DataSource& source(const std::string& name, const std::string& viewId) {
    sources_.push_back(company.open(viewId));
    window.sources[name] = sources_.back().get();
    return *sources_.back();
  }

  host::FieldEditControl& range(const std::string& name, const std::string& sourceName,
                                const std::string& value, const std::string& label) {
    edits_.push_back(rangeControl(*window.sources.at(sourceName), 1, value));
    edits_.back()->SetLeftLabel(label);
    window.controls[name] = edits_.back().get();
    return *edits_.back();
  }

  void noCriteria(const std::string& name, const std::string& control, const std::string& src) {
    criteria_.push_back(criteria(*window.controls.at(control), *window.sources.at(src), ""));
    window.criteriaFields[name] = criteria_.back().get();
  }

  /// The from and to mappings of a tax-group pair, the from tax group as its filter control.
  void mappings(const std::string& fromGrid, const std::string& toGrid,
                const std::string& fromControl) {
    from = taxGroupMapping("From Tax Group", 1, "OLD");
    to = taxGroupMapping("To Tax Group", 1, "HST");
    window.taxGroupGrids[fromGrid] = from->mapping.get();
    window.taxGroupGrids[toGrid] = to->mapping.get();
    window.controls[fromControl] = &from->edit;
  }

  /// The Bank tab active with banks checked and nothing wrong with their input.
  void bankTab() {
    window.tabs.SetTab(kBankTab);
    window.boxes["chkConvertBanks"].SetValue(1);
    source("adsBKACCT", "BK0001");
    range("afecFromBank", "adsBKACCT", "", "Bank Code");
    range("afecToBank", "adsBKACCT", "ZZZZZZZZ", "Bank Code");
    mappings("BanksFromGrid", "BanksToGrid", "afecBanksFromTaxGroup");
    noCriteria("BankCriteria", "afecToBank", "adsBKACCT");
  }

  /// The Accounts Receivable tab active with customers checked: A"1 matches the from mapping,
  /// A"2 has other classes.
  void customersTab() {
    auto customer = [this](const char* id, I class1) {
      company.data().insert(
          "AR0024",
          {{"IDCUST", id}, {"CODETAXGRP", "OLD"}, {"TAXSTTS1", class1}, {"TAXSTTS2", I{1}}});
    };
    customer("A\"1", 1);
    customer("A\"2", 2);
    window.tabs.SetTab(kARTab);
    window.boxes["chkCustomers"].SetValue(1);
    source("adsARCUS", "AR0024");
    range("afecFromCustomer", "adsARCUS", "", "Customer Number");
    range("afecToCustomer", "adsARCUS", "ZZZZZZZZZZZZ", "Customer Number");
    // The other kinds of the sales mapping are not checked, but the window has their ranges.
    for (const char* pair :
         {"CustomerGroup", "CustomerShipTo", "ChargeCode", "ChargeCodeCustomer"}) {
      range(std::string("afecFrom") + pair, "adsARCUS", "B", pair);
      range(std::string("afecTo") + pair, "adsARCUS", "A", pair);
    }
    mappings("SalesFromGrid", "SalesToGrid", "afecSalesFromTaxGroup");
    noCriteria("CustomerCriteria", "afecToCustomer", "adsARCUS");
  }

  /// The texts of the questions asked, in order.
  std::vector<std::string> questions() const { return window.messages.Texts(); }

  FakeRunWindow window;
  ConversionRun run;
  int closes = 0;
  std::unique_ptr<TaxGroupMapping> from;
  std::unique_ptr<TaxGroupMapping> to;

 private:
  std::vector<std::unique_ptr<host::DataSource>> sources_;
  std::vector<std::unique_ptr<host::FieldEditControl>> edits_;
  std::vector<std::unique_ptr<grids::CriteriaField>> criteria_;
};

TEST_F(ConversionRunTest, NothingCheckedIsReportedWithoutTheBackupQuestion) {
  window.tabs.SetTab(kAPTab);
  window.boxes["chkCustomers"].SetValue(1);
  run.ConvertButtonClick();
  EXPECT_EQ("Error: There is nothing selected for Accounts Payable to convert.\n",
            company.shownErrors());
  EXPECT_EQ(std::vector<std::string>{}, questions());
}

TEST_F(ConversionRunTest, AllProblemsOfOnePressAreShownTogether) {
  customersTab();
  window.controls.at("afecFromCustomer")->SetValue("B");
  window.controls.at("afecToCustomer")->SetValue("A");
  to->edit.SetValue("");
  // Joined with the kind's filter, these criteria would close its parenthesis and select every
  // customer whatever its tax group.
  window.criteriaFields.at("CustomerCriteria")->Filter(R"(IDCUST = "ZZZ") OR (IDCUST >= " ")");
  run.ConvertButtonClick();
  EXPECT_EQ(
      "Error: Invalid input. From Customer Number is greater then to Customer Number.\n"
      "Error: Invalid input. To Tax Group cannot be blank.\n"
      "Error: Invalid input. Additional Criteria for Customers: Unexpected text after the filter "
      "at position 14.\n",
      company.shownErrors());
  EXPECT_EQ(std::vector<std::string>{}, questions());
  EXPECT_EQ("", log("AR_Customers"));
  EXPECT_EQ(RunEnd::Refused, run.LastEnd());
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
    const size_t shownBefore = company.shownErrors().size();
    window.criteriaFields.at("CustomerCriteria")->Filter(criteria);
    run.ConvertButtonClick();
    EXPECT_EQ("Error: Invalid input. Additional Criteria for Customers: " + problem + "\n",
              company.shownErrors().substr(shownBefore))
        << criteria;
  }
  window.criteriaFields.at("CustomerCriteria")->Filter(R"((IDCUST = "A\"1"))");
  run.ConvertButtonClick();
  EXPECT_EQ(RunEnd::Finished, run.LastEnd()) << company.shownErrors();
}

TEST_F(ConversionRunTest, AKindAnotherRunConvertsIsRefusedAtOnce) {
  bankTab();
  host::KindClaim other(company.connection().getLogPath(), "BK_Banks", "CLERK",
                        std::chrono::system_clock::now());
  ASSERT_TRUE(other.Held());
  run.ConvertButtonClick();
  EXPECT_TRUE(company.shownErrors().starts_with(
      "Error: Banks of company SAMLTD are being converted by user CLERK since "))
      << company.shownErrors();
  EXPECT_EQ(std::vector<std::string>{}, questions());
}

TEST_F(ConversionRunTest, AKindThatCannotBeClaimedIsRefusedAtOnce) {
  bankTab();
  const std::filesystem::path lock =
      util::ResolvePathCase(company.connection().getLogPath()) / ".BK_Banks.lock";
  std::filesystem::create_directories(lock);
  run.ConvertButtonClick();
  EXPECT_EQ("Error: Banks of company SAMLTD cannot be claimed for this run: the claim file " +
                lock.string() + " is a folder.\n",
            company.shownErrors());
  EXPECT_EQ(std::vector<std::string>{}, questions());
  EXPECT_EQ(RunEnd::Refused, run.LastEnd());
}

// Once the claim file is gone another run may claim the kind, so this one undoes its open batch
// and ends the kind before it commits again.
TEST_F(ConversionRunTest, AClaimLostDuringTheRunEndsTheKindBeforeItsNextCommit) {
  customersTab();
  company.data().insert(
      "AR0024", {{"IDCUST", "B1"}, {"CODETAXGRP", "OLD"}, {"TAXSTTS1", I{1}}, {"TAXSTTS2", I{1}}});
  run.SetRecordsPerCommit(1);
  const std::filesystem::path lock =
      util::ResolvePathCase(company.connection().getLogPath()) / ".AR_Customers.lock";
  const host::ScopedConnection afterFirstCommit =
      run.BatchCommitted().Connect([&] { std::filesystem::remove(lock); });
  run.ConvertButtonClick();
  EXPECT_EQ(1, state.lKindsFailed);
  auto groupOf = [this](const std::string& id) {
    return company.data()
        .database()
        ->sql()
        .execAndGet("SELECT RTRIM(CODETAXGRP) FROM AR0024 WHERE IDCUST = '" + id + "'")
        .getString();
  };
  EXPECT_EQ("HST", groupOf("A\"1"));
  EXPECT_EQ("OLD", groupOf("B1")) << "converted after the claim was lost";
  EXPECT_NE(std::string::npos,
            log("AR_Customers").find("This run's claim on AR_Customers was lost"))
      << log("AR_Customers");
}

TEST_F(ConversionRunTest, AKindThatCannotBeBrowsedIsAnErrorOfTheRun) {
  bankTab();
  company.data().database()->sql().exec("DROP TABLE BK0001");
  run.ConvertButtonClick();
  EXPECT_EQ(1, state.lKindsFailed);
  EXPECT_EQ(
      "Conversion of Bank tax information is complete. Errors occured during conversion of tax "
      "information. Do you want to explore the conversion log files?",
      questions().at(1));
}

TEST_F(ConversionRunTest, KindsOfAnotherTabAreNeitherCheckedNorRun) {
  bankTab();
  window.boxes["chkCustomers"].SetValue(1);
  source("adsARCUS", "AR0024");
  range("afecFromCustomer", "adsARCUS", "B", "Customer Number");
  range("afecToCustomer", "adsARCUS", "A", "Customer Number");
  run.ConvertButtonClick();
  EXPECT_EQ("", company.shownErrors());
  EXPECT_EQ("", log("AR_Customers"));
  EXPECT_EQ((std::vector<std::string>{kBackupQuestion, kBankComplete}), questions());
}

TEST_F(ConversionRunTest, RangesCompareAsText) {
  source("adsARCUS", "AR0024");
  host::FieldEditControl& fromControl = range("afecFromCustomer", "adsARCUS", "", "From Label");
  host::FieldEditControl& toControl = range("afecToCustomer", "adsARCUS", "", "To Label");
  const std::string reversed = "Invalid input. From From Label is greater then to To Label.";
  auto check = [&](const std::string& fromValue, const std::string& toValue, int box) {
    company.connection().ClearErrors();
    fromControl.SetValue(fromValue);
    toControl.SetValue(toValue);
    host::CheckBox checkBox;
    checkBox.SetValue(box);
    run.ValidateRange(fromControl, toControl, checkBox);
    std::vector<std::string> errors = company.errorTexts();
    return errors.empty() ? std::string() : errors.front();
  };
  EXPECT_EQ(reversed, check("9", "10", 1)) << "text order, not numbers";
  EXPECT_EQ(reversed, check("B", "A", 1)) << "reversed";
  EXPECT_EQ("", check("A", "A", 1)) << "equal values";
  EXPECT_EQ("", check("", "A", 1)) << "empty from value";
  EXPECT_EQ("", check("ZZ", "ZZZZZZZZZZZZ", 1)) << "initial to value";
  EXPECT_EQ("", check("B", "A", 0)) << "kind not checked";
}

TEST_F(ConversionRunTest, NoAtTheBackupQuestionRunsNothing) {
  bankTab();
  int pumped = 0;
  pump.onMessages = [&] { ++pumped; };
  window.messages.answers = {false};
  run.ConvertButtonClick();
  EXPECT_EQ(std::vector<std::string>{kBackupQuestion}, questions());
  EXPECT_EQ("Warning", window.messages.boxes.at(0).title);
  EXPECT_EQ(host::MessageIcon::Question, window.messages.boxes.at(0).icon);
  EXPECT_EQ(0, pumped) << "the window was never locked";
  EXPECT_EQ("", log("BK_Banks"));
}

TEST_F(ConversionRunTest, ACompleteBankRunEndsWithTheExactQuestion) {
  bankTab();
  window.messages.answers = {true, false};
  run.ConvertButtonClick();
  EXPECT_EQ((std::vector<std::string>{kBackupQuestion, kBankComplete}), questions());
  EXPECT_EQ("Ordavel", window.messages.boxes.at(1).title);
  EXPECT_EQ(host::MessageIcon::Question, window.messages.boxes.at(1).icon);
  EXPECT_NE(std::string::npos, log("BK_Banks").find("From Bank Code [] to Bank Code [ZZZZZZZZ]"));
  EXPECT_EQ(std::vector<std::string>{}, window.shell.explored) << "No leaves the folder closed";
}

TEST_F(ConversionRunTest, YesOpensTheLogFolder) {
  bankTab();
  run.ConvertButtonClick();
  // The folder as it is spelled on disk, which the file browser can open.
  EXPECT_EQ(std::vector<std::string>{util::Quote(company.sharedData().string() +
                                                 "/Company/SAMLTD/Ordavel")},
            window.shell.explored);
}

TEST_F(ConversionRunTest, ACancelledRunWithSkippedRecordsSaysSo) {
  customersTab();
  pump.onMessages = [&] {
    if (to->mapping->lSkipped() > 0) window.cancel.Click();
  };
  window.cancel.OnClick([&] { run.CancelButtonClick(); });
  run.ConvertButtonClick();
  EXPECT_EQ(
      "Conversion of Accounts Receivable tax information canceled. There was tax information "
      "not converted because tax classes did not match, or no operations were performed. Do you "
      "want to explore the conversion log files?",
      questions().at(1));
}

TEST_F(ConversionRunTest, EachKindAnnouncesItsStartAndWhatItCounted) {
  customersTab();
  std::vector<std::string> events;
  auto started = run.KindStarted.Connect(
      [&](const KindTarget& kind) { events.push_back("start " + kind.checkBox); });
  auto finished = run.KindFinished.Connect([&](const KindTarget& kind, const KindOutcome& end) {
    const KindCounts& n = end.counts;
    events.push_back("end " + kind.checkBox + " " + std::to_string(n.records) +
                     std::to_string(n.updated) + std::to_string(n.skipped) +
                     std::to_string(n.failed) + (end.endedByError ? " error" : "") +
                     (end.cancelled ? " cancelled" : ""));
  });
  run.ConvertButtonClick();
  EXPECT_EQ((std::vector<std::string>{"start chkCustomers", "end chkCustomers 2110"}), events);
}

TEST_F(ConversionRunTest, TheChecksAloneAskNothingAndConvertNothing) {
  customersTab();
  window.controls.at("afecFromCustomer")->SetValue("B");
  window.controls.at("afecToCustomer")->SetValue("A");
  EXPECT_FALSE(run.CheckInput());
  EXPECT_EQ("Error: Invalid input. From Customer Number is greater then to Customer Number.\n",
            company.shownErrors());
  window.controls.at("afecFromCustomer")->SetValue("");
  EXPECT_TRUE(run.CheckInput());
  EXPECT_EQ(std::vector<std::string>{}, questions());
  EXPECT_EQ("", log("AR_Customers"));
}

TEST_F(ConversionRunTest, ASecondRunStartsAfresh) {
  bankTab();
  pump.onMessages = [&] { run.CancelButtonClick(); };
  state.lTotalFailed = 3;
  state.lTotalSkipped = 2;
  state.lTotalUpdated = 4;
  run.ConvertButtonClick();
  EXPECT_TRUE(state.CancelRequested) << "kept after the run";
  pump.onMessages = nullptr;
  run.ConvertButtonClick();
  EXPECT_EQ(kBankComplete, questions().back());
  EXPECT_FALSE(state.CancelRequested);
  EXPECT_EQ(0, state.lTotalFailed + state.lTotalSkipped + state.lTotalUpdated);
}

TEST_F(ConversionRunTest, WindowStatesSwitchEveryPiece) {
  int pumped = 0;
  pump.onMessages = [&] { ++pumped; };
  auto windowState = [&](bool idle) {
    run.SetWindowIdle(idle);
    std::string bits;
    const std::vector<const host::WindowControl*> enabling = {
        &window.help, &window.file, &window.close, &window.tabs, &window.cancel, &window.convert};
    for (const host::WindowControl* control : enabling) bits += control->Enabled() ? '1' : '0';
    bits += window.cancel.Visible() ? " cancel" : "";
    bits += window.convert.Visible() ? " convert" : "";
    bits += window.progress.Visible() ? " progress" : "";
    return bits;
  };
  EXPECT_EQ("000010 cancel progress", windowState(false));
  EXPECT_EQ("111101 convert", windowState(true));
  EXPECT_EQ(2, pumped);
}

TEST_F(ConversionRunTest, ASetUpErrorEndsTheRunAndIsShown) {
  bankTab();
  // The criteria field goes missing between the checks and the set-up of its kind.
  window.messages.onAsk = [this] { window.criteriaFields.erase("BankCriteria"); };
  window.boxes["chkConvertBankDistributionCodes"].SetValue(1);
  source("adsBKTT", "BK0003");
  range("afecFromBankDistributionCode", "adsBKTT", "", "Distribution Code");
  range("afecToBankDistributionCode", "adsBKTT", "ZZ", "Distribution Code");
  noCriteria("DistributionCodeCriteria", "afecToBankDistributionCode", "adsBKTT");
  host::GridControl cells;
  grids::TaxAuthorityGrid distribution([this] { return company.newErrorDisplay(); });
  distribution.Grid(&cells);
  cells.SetRowsCount(1);
  window.authorityGrids["BKDistributionCodesGrid"] = &distribution;

  run.ConvertButtonClick();

  EXPECT_NE(std::string::npos,
            log("BK_Banks").find("<stamp> No control is named BankCriteria.\r\n"))
      << log("BK_Banks");
  EXPECT_EQ("Error: No control is named BankCriteria.\n", company.shownErrors());
  EXPECT_EQ(nullptr, distribution.adsHeader()) << "the next kind was not started";
  EXPECT_EQ(std::vector<std::string>{kBackupQuestion}, questions()) << "no final message";
  EXPECT_TRUE(window.convert.Visible());
  EXPECT_FALSE(run.Running());
}

TEST_F(ConversionRunTest, LostLogLinesAreMentioned) {
  bankTab();
  // A folder where the kind's log belongs makes every log line fail.
  std::filesystem::create_directories(util::ResolvePathCase(company.connection().getLogPath()) /
                                      company.connection().getLogFileName("", "_BK_Banks"));
  run.ConvertButtonClick();
  EXPECT_EQ(
      "Conversion of Bank tax information is complete. Some lines could not be written to the "
      "conversion log. Do you want to explore the conversion log files?",
      questions().at(1));
}

TEST_F(ConversionRunTest, ClosingDuringARunWaitsForItsEnd) {
  bankTab();
  std::vector<bool> answers;
  pump.onMessages = [&] {
    // Asked once, while the window is being locked, before the totals are reset.
    if (run.Running() && answers.empty()) answers.push_back(run.RequestClose());
    EXPECT_EQ(0, closes) << "not closed under the running loop";
  };
  run.ConvertButtonClick();
  EXPECT_EQ(std::vector<bool>{false}, answers);
  EXPECT_TRUE(state.CancelRequested);
  EXPECT_NE(std::string::npos, log("BK_Banks").find(" canceled.")) << log("BK_Banks");
  EXPECT_EQ(1, closes);
  EXPECT_EQ(std::vector<std::string>{kBackupQuestion}, questions()) << "no final message";
  EXPECT_FALSE(run.Running());
  EXPECT_TRUE(run.RequestClose()) << "an idle window closes at once";
  EXPECT_EQ(1, closes);
}

TEST(TabChecksTest, ChecksFollowTheKindsOfEachMapping) {
  auto describe = [](const std::string& tab) {
    std::string text;
    for (const CheckGroup& group : TabChecks(tab)) {
      text += "[";
      for (const RangeCheck& range : group.ranges) text += range.fromControl + " ";
      text += group.type == ConversionType::TaxGroup ? group.fromGrid + "+" + group.toGrid
                                                     : group.authorityGrid;
      text += "]";
    }
    return text;
  };
  EXPECT_EQ(
      "[afecFromVendor afecFromVendorGroup afecFromPayableCode afecFromPayableCodeVendor "
      "PurchasesFromGrid+PurchasesToGrid]",
      describe("AP"));
  EXPECT_EQ(
      "[afecFromOETemplate OETemplateFromGrid+OETemplateToGrid][afecFromMiscCharge "
      "OEMiscChargesGrid]",
      describe("OE"))
      << "the misc charge currency pair is not checked";
  EXPECT_EQ(
      "[afecFromPOTemplate POTemplateFromGrid+POTemplateToGrid][afecFromAdditionalCost "
      "afecFromAdditionalCostCurrency POAdditionalCostsGrid][afecPOContractCostItemFrom "
      "afecPOContractCostVendorFrom POContractCostsGrid]",
      describe("PO"));
  EXPECT_EQ(4u, TabChecks("IC").at(1).ranges.size()) << "item pricing currency is checked";
  EXPECT_EQ((std::vector<std::string>{"chkCustomers", "chkCustomerGroups", "chkCustomerShipTo",
                                      "chkRecurringCharges"}),
            TabChecks("AR").at(0).checkBoxes);
}

}  // namespace
}  // namespace convert::testing

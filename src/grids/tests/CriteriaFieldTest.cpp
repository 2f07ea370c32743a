#include "grids/CriteriaField.h"

#include "host/HostError.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

#include <vector>

namespace grids {
namespace {

// Answers with a preset filter (or fails) and remembers how it was opened.
class FakeFilterWindow : public host::FilterWindow {
 public:
  std::string Choose(host::DataSource& source, const std::string& startingFilter) override {
    opened.push_back(source.ViewID() + " " + startingFilter);
    if (fail) throw host::HostError(host::HostError::kGeneralFailure, "no filter window");
    return answer;
  }
  std::vector<std::string> opened;
  std::string answer;
  bool fail = false;
};

class CriteriaFieldTest : public ::testing::Test {
 protected:
  CriteriaFieldTest() {
    criteria.DataSource(customers.get());
    criteria.EditControl(&control);
    criteria.Filter("IDGRP = \"WHL \"");
  }
  host::testing::StandinCompany company;
  std::unique_ptr<host::DataSource> customers = company.open("AR0024");
  host::FieldEditControl control;
  FakeFilterWindow window;
  CriteriaField criteria{window};
};

TEST_F(CriteriaFieldTest, OnlyTheCriteriaButtonReplacesTheFilterWhole) {
  // Longer than the 255 characters the session's value store keeps.
  std::string longFilter = "IDCUST = \"C0 \"";
  for (int i = 1; i < 40; ++i) longFilter += " OR IDCUST = \"C" + std::to_string(i) + " \"";
  const std::string kept = "IDGRP = \"WHL \"";
  auto check = [&](const char* name, int code, const std::string& answer, bool fail,
                   const std::string& filter, const std::vector<std::string>& opened) {
    criteria.Filter(kept);
    window.opened.clear();
    window.answer = answer;
    window.fail = fail;
    control.PressButton(code);
    EXPECT_EQ(filter, criteria.Filter()) << name;
    EXPECT_EQ(opened, window.opened) << name;
  };
  check("ChosenFilterTaken", 6, "SWACTV = 1", false, "SWACTV = 1", {"AR0024 " + kept});
  check("LongFilterKeptWhole", 6, longFilter, false, longFilter, {"AR0024 " + kept});
  check("NothingChosenEmptiesTheFilter", 6, "", false, "", {"AR0024 " + kept});
  check("FailedWindowKeepsTheFilter", 6, "X", true, kept, {"AR0024 " + kept});
  check("OtherButtonIgnored", 5, "SWACTV = 1", false, kept, {});
  EXPECT_EQ("Additional Criteria", control.ButtonLabel(0));
  EXPECT_EQ(1, control.ButtonCount());
}

TEST_F(CriteriaFieldTest, AReleasedFieldNoLongerListens) {
  {
    FakeFilterWindow other;
    host::FieldEditControl shared;
    CriteriaField first{other};
    first.DataSource(customers.get());
    first.EditControl(&shared);
    first.EditControl(nullptr);
    shared.PressButton();
    EXPECT_TRUE(other.opened.empty());
  }
  window.answer = "A";
  control.PressButton();
  EXPECT_EQ("A", criteria.Filter());
}

}  // namespace
}  // namespace grids

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

TEST_F(CriteriaFieldTest, TheControlGetsTheCriteriaButton) {
  EXPECT_EQ("Additional Criteria", control.ButtonLabel(0));
  EXPECT_EQ(1, control.ButtonCount());
  EXPECT_EQ(&control, criteria.EditControl());
}

TEST_F(CriteriaFieldTest, OnlyTheCriteriaButtonReplacesTheFilterWhole) {
  // Longer than the 255 characters the session's value store keeps.
  std::string longFilter = "IDCUST = \"C0 \"";
  for (int i = 1; i < 40; ++i) longFilter += " OR IDCUST = \"C" + std::to_string(i) + " \"";
  const std::string kept = "IDGRP = \"WHL \"";
  const struct {
    const char* name;
    int code;
    std::string answer;
    bool fail;
    std::string filter;
    std::vector<std::string> opened;
  } cases[] = {
      {"ChosenFilterTaken", 6, "SWACTV = 1", false, "SWACTV = 1", {"AR0024 " + kept}},
      {"LongFilterKeptWhole", 6, longFilter, false, longFilter, {"AR0024 " + kept}},
      {"NothingChosenEmptiesTheFilter", 6, "", false, "", {"AR0024 " + kept}},
      {"FailedWindowKeepsTheFilter", 6, "X", true, kept, {"AR0024 " + kept}},
      {"OtherButtonIgnored", 5, "SWACTV = 1", false, kept, {}},
  };
  for (const auto& c : cases) {
    criteria.Filter(kept);
    window.opened.clear();
    window.answer = c.answer;
    window.fail = c.fail;
    control.PressButton(c.code);
    EXPECT_EQ(c.filter, criteria.Filter()) << c.name;
    EXPECT_EQ(c.opened, window.opened) << c.name;
  }
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

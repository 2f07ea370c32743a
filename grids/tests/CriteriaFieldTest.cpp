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

struct PressCase {
  const char* name;
  int code;
  std::string answer;
  bool fail;
  std::string filter;
  size_t openings;
};

class CriteriaButton : public CriteriaFieldTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(CriteriaButton, OnlyTheCriteriaButtonReplacesTheFilterWhole) {
  const PressCase& line = GetParam();
  window.answer = line.answer;
  window.fail = line.fail;
  control.PressButton(line.code);
  EXPECT_EQ(line.filter, criteria.Filter());
  ASSERT_EQ(line.openings, window.opened.size());
  if (line.openings > 0) {
    EXPECT_EQ("AR0024 IDGRP = \"WHL \"", window.opened[0]);
  }
}

const std::string kLongFilter = [] {
  std::string filter = "IDCUST = \"C0 \"";
  for (int i = 1; i < 40; ++i) filter += " OR IDCUST = \"C" + std::to_string(i) + " \"";
  return filter;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, CriteriaButton,
    ::testing::Values(PressCase{"ChosenFilterTaken", 6, "SWACTV = 1", false, "SWACTV = 1", 1},
                      PressCase{"LongFilterKeptWhole", 6, kLongFilter, false, kLongFilter, 1},
                      PressCase{"NothingChosenEmptiesTheFilter", 6, "", false, "", 1},
                      PressCase{"FailedWindowKeepsTheFilter", 6, "X", true, "IDGRP = \"WHL \"", 1},
                      PressCase{"OtherButtonIgnored", 5, "SWACTV = 1", false, "IDGRP = \"WHL \"",
                                0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CriteriaFieldLongFilter, IsLongerThanTheValueStoreKeeps) {
  EXPECT_LT(255u, kLongFilter.size());
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

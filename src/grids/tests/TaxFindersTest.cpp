#include "grids/TaxClassCells.h"
#include "grids/TaxFinders.h"

#include "host/testsupport/StandinCatalog.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

namespace grids {
namespace {

using Ids = std::vector<int>;

TEST(TaxFindersTest, EachTaxViewIsSetUpFromTheTable) {
  auto check = [](TaxFinderView view, const std::string& viewId, int initKeyType,
                  const std::string& filter, const Ids& display, const Ids& search,
                  const Ids& returned) {
    host::FieldEditControl control;
    host::ViewFinder kept;
    kept.Filter = "kept";
    control.SetViewFinder(kept);
    SetupTaxFinder(control, view, 0);
    const host::ViewFinder& finder = control.ViewFinder();
    EXPECT_EQ(viewId, finder.ViewID);
    EXPECT_EQ(0, finder.ViewOrder);
    EXPECT_EQ(initKeyType, finder.InitKeyType);
    EXPECT_EQ(filter, finder.Filter) << viewId;
    EXPECT_EQ(display, finder.DisplayFieldIDs) << viewId;
    EXPECT_EQ(search, finder.SearchFieldIDs) << viewId;
    EXPECT_EQ(returned, finder.ReturnFieldIDs) << viewId;
    for (const Ids* ids : {&display, &search, &returned}) {
      for (int id : *ids) EXPECT_NE(nullptr, host::testing::StandinView(viewId).field(id)) << id;
    }
  };
  check(TaxFinderView::TaxGroups, "TX0003", 1, "TTYPE=1", {1, 3, 4, 5, 6, 7, 8, 9, 15, 16},
        {1, 3, 4, 5, 6, 7, 8, 9}, {1});
  check(TaxFinderView::TaxClasses, "TX0001", 3, "kept", {4, 5, 6}, {5}, {4});
  check(TaxFinderView::TaxAuthorities, "TX0002", 1, "kept", {1, 2}, {2}, {1});
}

TEST(TaxFindersTest, AnotherOrderEmptiesTheFieldLists) {
  host::FieldEditControl control;
  SetupTaxAuthorityFinder(control, 0);
  SetupTaxAuthorityFinder(control, 1);
  EXPECT_EQ(1, control.ViewFinder().ViewOrder);
  EXPECT_TRUE(control.ViewFinder().DisplayFieldIDs.empty());
  EXPECT_TRUE(control.ViewFinder().SearchFieldIDs.empty());
  EXPECT_TRUE(control.ViewFinder().ReturnFieldIDs.empty());
}

TEST(TaxClassCellsTest, AuthoritiesAreEscapedInBothFilters) {
  ClassField column{"CLASS0", -1, 2, 1};
  EXPECT_EQ("AUTHORITY = \"A\\\"B \" AND CLASSTYPE = 2 AND CLASSAXIS = 1",
            TaxClassFinderFilter("A\"B", column));
  EXPECT_EQ("(AUTHORITY=\"GST \") AND (CLASSTYPE=2) AND (CLASSAXIS=1)",
            DefaultTaxClassFilter("GST", column));
}

TEST(TaxClassCellsTest, TheClassFinderStartsAtTheEditorsClass) {
  host::FieldEditControl editor;
  editor.SetValue("2");
  SetTaxClassFinder(editor, "PST", ClassField{"CLASS1", -1, 1, 2});
  EXPECT_EQ("AUTHORITY = \"PST \" AND CLASSTYPE = 1 AND CLASSAXIS = 2", editor.ViewFinder().Filter);
  EXPECT_EQ((std::vector<host::Variant>{std::string("PST"), std::int64_t{1}, std::int64_t{2},
                                        std::string("2")}),
            editor.ViewFinder().InitKeyValue);
}

TEST(TaxClassCellsTest, TheClassEditorIsASmallNumberWithAFinder) {
  host::testing::StandinCompany company;
  auto classes = company.open("TX0001");
  host::FieldEditControl editor;
  PrepareTaxClassEditor(editor, "3", *classes);
  EXPECT_EQ("3", editor.Value());
  EXPECT_EQ("Tax Class", editor.AccpacField().Description());
  EXPECT_FALSE(editor.UseSysDefForNumber());
  EXPECT_EQ(0, editor.NumberDecimalsAfter());
  EXPECT_EQ(2, editor.NumberDecimalsBefore());
  EXPECT_EQ(4, editor.NumberDomain());
  EXPECT_EQ(4, editor.ControlType());
  EXPECT_TRUE(editor.ViewFinderButton());
  EXPECT_EQ("TX0001", editor.ViewFinder().ViewID);
}

}  // namespace
}  // namespace grids

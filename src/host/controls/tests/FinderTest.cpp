#include "host/controls/Finder.h"

#include "host/HostError.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

namespace host {
namespace {

class FinderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    classes = company.open("TX0001");
    settings.ViewID = "TX0001";
    settings.InitKeyType = 3;
    settings.Filter = "AUTHORITY = \"PST \" AND CLASSTYPE = 2 AND CLASSAXIS = 1";
    settings.DisplayFieldIDs = {4, 5, 6};
    settings.SearchFieldIDs = {5};
    settings.ReturnFieldIDs = {4};
  }
  testing::StandinCompany company;
  std::unique_ptr<DataSource> classes;
  ViewFinder settings;
};

TEST_F(FinderTest, ListsTheFilteredRecordsWithTheDisplayFields) {
  Finder finder(settings, *classes);
  finder.Refresh();
  EXPECT_EQ((std::vector<std::string>{"Tax Class", "Description", "Exempt"}), finder.Captions());
  ASSERT_EQ(3u, finder.Rows().size());
  EXPECT_EQ((std::vector<std::string>{"3", "PST class 3", "No"}), finder.Rows()[2].cells)
      << "a yes/no field shows its text";
  EXPECT_EQ("2", finder.Choose(1));
  EXPECT_THROW(finder.Choose(3), HostError);
}

TEST_F(FinderTest, SearchesPartOfATextWithinTheFilter) {
  Finder finder(settings, *classes);
  EXPECT_EQ("(" + settings.Filter + ") AND (DESC LIKE \"%_ 2% \")", finder.ListFilter(5, "s 2"));
  finder.Refresh(5, "s 2");
  ASSERT_EQ(1u, finder.Rows().size());
  EXPECT_EQ("2", finder.Choose(0));
  EXPECT_THROW(finder.Refresh(4, "2"), HostError);
}

TEST_F(FinderTest, WithoutFieldListsShowsAndReturnsTheKey) {
  ViewFinder authorities;
  authorities.ViewID = "TX0002";
  authorities.ViewOrder = 0;
  auto source = company.open("TX0002");
  Finder finder(authorities, *source);
  finder.Refresh();
  EXPECT_EQ((std::vector<std::string>{"Tax Authority"}), finder.Captions());
  ASSERT_EQ(3u, finder.Rows().size());
  EXPECT_EQ("GST", finder.Choose(0));
  EXPECT_EQ("PST", finder.Choose(2));
}

class FinderPagingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    classes = company.open("TX0001");
    settings.ViewID = "TX0001";
    settings.DisplayFieldIDs = {1, 2, 3, 4};
    settings.SearchFieldIDs = {5, 4};
    settings.ReturnFieldIDs = {4};
  }
  // The rows held, each as its key, "GST 1 2 3".
  static std::vector<std::string> Held(const Finder& finder) {
    std::vector<std::string> keys;
    for (const FinderRow& row : finder.Rows()) {
      std::string key;
      for (const std::string& cell : row.cells) key += (key.empty() ? "" : " ") + cell;
      keys.push_back(key);
    }
    return keys;
  }
  std::vector<std::string> All() {
    Finder all(settings, *classes, {100, 2});
    all.Refresh();
    return Held(all);
  }
  static std::vector<std::string> Slice(const std::vector<std::string>& keys, int first,
                                        int count) {
    return {keys.begin() + first, keys.begin() + first + count};
  }
  testing::StandinCompany company;
  std::unique_ptr<DataSource> classes;
  ViewFinder settings;
};

TEST_F(FinderPagingTest, PagesOnAndBackHoldingAtMostItsPages) {
  const std::vector<std::string> all = All();
  ASSERT_EQ(37u, all.size());
  Finder finder(settings, *classes, {5, 2});
  finder.Refresh();
  EXPECT_EQ(Slice(all, 0, 5), Held(finder));
  EXPECT_FALSE(finder.MoreBefore());
  EXPECT_TRUE(finder.FetchAfter());
  EXPECT_TRUE(finder.FetchAfter());
  EXPECT_EQ(Slice(all, 5, 10), Held(finder));
  EXPECT_TRUE(finder.MoreBefore());
  EXPECT_EQ(-1, finder.InitialRow());
  EXPECT_TRUE(finder.FetchBefore());
  EXPECT_EQ(Slice(all, 0, 10), Held(finder));
  EXPECT_FALSE(finder.FetchBefore());
  for (int page = 0; page < 10 && finder.FetchAfter(); ++page) {
  }
  EXPECT_EQ(Slice(all, 27, 10), Held(finder));
  EXPECT_FALSE(finder.MoreAfter());
  EXPECT_EQ("3", finder.Choose(9));
}

TEST_F(FinderPagingTest, AnnouncesEachChangeOfTheRowsBeforeAndAfter) {
  Finder finder(settings, *classes, {5, 2});
  std::vector<std::string> heard;
  auto text = [&](const char* when, const FinderRowsChange& change) {
    const char* kinds[] = {"reset", "insert", "remove"};
    heard.push_back(std::string(when) + kinds[change.kind] + " " + std::to_string(change.first) +
                    " " + std::to_string(change.count));
  };
  ScopedConnection before =
      finder.RowsAboutToChange.Connect([&](const FinderRowsChange& c) { text("about ", c); });
  ScopedConnection after =
      finder.RowsChanged.Connect([&](const FinderRowsChange& c) { text("", c); });
  finder.Refresh();
  finder.FetchAfter();
  finder.FetchAfter();
  EXPECT_EQ((std::vector<std::string>{"about reset 0 0", "reset 0 0", "about insert 5 5",
                                      "insert 5 5", "about insert 10 5", "insert 10 5",
                                      "about remove 0 5", "remove 0 5"}),
            heard);
}

TEST_F(FinderPagingTest, OpensAtTheInitialKeyWithAPageBeforeIt) {
  const std::vector<std::string> all = All();
  auto check = [&](const char* name, const std::vector<Variant>& initial) {
    settings.InitKeyValue = initial;
    Finder finder(settings, *classes, {3, 4});
    finder.Refresh();
    EXPECT_EQ(Slice(all, 9, 6), Held(finder)) << name;
    EXPECT_EQ(3, finder.InitialRow()) << name;
    EXPECT_TRUE(finder.MoreBefore()) << name;
  };
  check("StartOfAKey", {std::string("HST")});
  check("ValueTheKeyCannotHold", {std::string("HST"), std::string("x")});
  EXPECT_TRUE(company.errorTexts().empty());
}

TEST_F(FinderPagingTest, SearchesTheStartOrAPartOfATextOrANumber) {
  auto check = [&](const char* name, const FinderSearch& search, size_t rows) {
    Finder finder(settings, *classes, {50, 2});
    finder.Refresh(search);
    EXPECT_EQ(rows, finder.Rows().size()) << name;
  };
  check("StartsWith", {5, "PST", SearchMode::StartsWith}, 13);
  check("StartsWithAMiddlePart", {5, "class", SearchMode::StartsWith}, 0);
  check("Contains", {5, "class 3", SearchMode::Contains}, 12);
  check("ContainsInAnyCase", {5, "CLASS 3", SearchMode::Contains}, 12);
  check("StartsWithInAnyCase", {5, "pst", SearchMode::StartsWith}, 13);
  check("WildcardsStillWork", {5, "p_t%3", SearchMode::StartsWith}, 4);
  check("Number", {4, "2", SearchMode::StartsWith}, 12);
  Finder finder(settings, *classes);
  EXPECT_EQ("DESC LIKE \"___% \"", finder.ListFilter({5, "PST", SearchMode::StartsWith}))
      << "a description is searched in any letter case";
  finder.Refresh();
  EXPECT_THROW(finder.Refresh({1, "G", SearchMode::StartsWith}), HostError);
  EXPECT_EQ(37u, finder.Rows().size());
}

}  // namespace
}  // namespace host

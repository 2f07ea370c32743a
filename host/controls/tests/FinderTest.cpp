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
  EXPECT_EQ((std::vector<std::string>{"3", "PST class 3", "0"}), finder.Rows()[2].cells);
  EXPECT_EQ("2", finder.Choose(1));
  EXPECT_THROW(finder.Choose(3), HostError);
}

TEST_F(FinderTest, SearchesPartOfATextWithinTheFilter) {
  Finder finder(settings, *classes);
  EXPECT_EQ("(" + settings.Filter + ") AND (DESC LIKE \"%s 2% \")", finder.ListFilter(5, "s 2"));
  finder.Refresh(5, "s 2");
  ASSERT_EQ(1u, finder.Rows().size());
  EXPECT_EQ("2", finder.Choose(0));
  EXPECT_THROW(finder.Refresh(4, "2"), HostError);
}

TEST_F(FinderTest, StartsAtTheInitialKey) {
  settings.InitKeyValue = {std::string("PST"), std::int64_t{2}, std::int64_t{1}, std::string("2")};
  Finder finder(settings, *classes);
  finder.Refresh();
  EXPECT_EQ(1, finder.InitialRow());
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

}  // namespace
}  // namespace host

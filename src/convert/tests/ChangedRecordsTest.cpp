#include "convert/ChangedRecords.h"

#include <gtest/gtest.h>

namespace convert {
namespace {

using Splits = std::vector<std::vector<std::string>>;

TEST(ChangedRecordsTest, AKeyIsCutAtEveryJointThatGivesItsFieldCount) {
  EXPECT_EQ((Splits{{"C1-1010"}}), KeySplits("C1-1010", 1));
  EXPECT_EQ((Splits{{"1000", "MAIN"}}), KeySplits("1000-MAIN", 2));
  EXPECT_EQ((Splits{{"A", "1-B"}, {"A-1", "B"}}), KeySplits("A-1-B", 2));
  EXPECT_EQ((Splits{{"CAD", "A1", "RETAIL"}}), KeySplits("CAD-A1-RETAIL", 3));
  EXPECT_EQ(Splits{}, KeySplits("NOJOINT", 2));
}

TEST(ChangedRecordsTest, OnlyConvertedRecordsAreTakenWithTheirRowsGrouped) {
  ChangeFileContents contents;
  contents.rows = {
      {"AR_Customers", "C100", "CODETAXGRP", "OLD", "HST", "converted"},
      {"AR_Customers", "C300", "CODETAXGRP", "OLD", "OLD", "skipped: tax classes do not match"},
      {"AR_Items", "I100", "HST: row", "absent", "present", "converted"},
      {"AR_Items", "I100", "HST: TAXSTTS", "", "1", "converted"},
      {"AR_Items", "I100", "PST: row", "present", "absent", "converted"},
  };
  const std::vector<RecordChange> records = ConvertedRecords(contents);
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ("AR_Customers", records[0].kind->logName);
  EXPECT_EQ("HST", records[0].fields.at(0).after);
  ASSERT_EQ(2u, records[1].rows.size());
  EXPECT_EQ("HST", records[1].rows[0].authority);
  EXPECT_TRUE(!records[1].rows[0].presentBefore && records[1].rows[0].presentAfter);
  EXPECT_EQ("TAXSTTS", records[1].rows[0].fields.at(0).field);
  EXPECT_TRUE(records[1].rows[1].presentBefore && !records[1].rows[1].presentAfter);
}

}  // namespace
}  // namespace convert

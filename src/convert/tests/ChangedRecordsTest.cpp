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

}  // namespace
}  // namespace convert

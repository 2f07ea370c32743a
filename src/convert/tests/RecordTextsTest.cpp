#include "convert/RecordTexts.h"

#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

namespace convert {
namespace {

TEST(RecordTextsTest, KeysJoinTheCurrentKeysFieldsWithHyphens) {
  host::testing::StandinCompany company;
  company.data().insert("AR0023", {{"IDCUST", "1200"}, {"IDCUSTSHPT", "WH1"}});
  company.data().insert("AR0023", {{"IDCUST", "0900"}, {"IDCUSTSHPT", "MAIN"}});
  auto shipTo = company.open("AR0023");
  shipTo->Fields("IDCUST").PutWithoutVerification(std::string("1200"));
  shipTo->Fields("IDCUSTSHPT").PutWithoutVerification(std::string("WH1"));
  ASSERT_TRUE(shipTo->Read());
  EXPECT_EQ("1200-WH1", GetRecordKey(*shipTo));
  EXPECT_EQ("Converting Ship-To Locations 1200-WH1...", ConvertingText(*shipTo));
  EXPECT_EQ("Convert Ship-To Locations 1200-WH1 skipped. Tax classes do not match.",
            SkippedText(*shipTo));
  EXPECT_EQ("Convert Ship-To Locations 1200-WH1 succeeded.", SucceededText(*shipTo));
  EXPECT_EQ("Convert Ship-To Locations 1200-WH1 failed. Return code=0.", FailedText(*shipTo));
  EXPECT_EQ("Ordavel for Ship-To Locations failed.", KindFailedText(*shipTo));

  // Positioned at 1200, a browse would miss 0900; the key reset starts it at the first record.
  ResetKeyFields(*shipTo);
  shipTo->Browse("", true);
  ASSERT_TRUE(shipTo->Fetch(false));
  EXPECT_EQ("0900-MAIN", GetRecordKey(*shipTo));
}

}  // namespace
}  // namespace convert

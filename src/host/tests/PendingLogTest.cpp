#include "host/PendingLogFile.h"
#include "host/RecordProbe.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace host {
namespace {

using I = std::int64_t;

TEST(PendingLogFileTest, AStagedBatchReadsBackWholeOrNotAtAll) {
  testing::StandinCompany company;
  const std::filesystem::path folder = company.sharedData();
  PendingLogFile pending(folder, "AR_Items");
  const StagedBatch batch{"20240131_AR_Items.log",
                          1234,
                          "<stamp> Convert A/R Items A 1: 2 succeeded.\r\n<stamp> \tline\r\n",
                          2,
                          {{{{1, "A 1"}, {2, ""}}, 2, "HST", false, true, {{3, "", "1"}}},
                           {{{1, "B:2\n"}}, 0, "", true, true, {{38, "OLD ", "HST"}}}},
                          "/logs/20240131_120000_AR_changes.csv",
                          567,
                          "AR_Items,A 1,\"x,\r\n\",,1,converted\r\n"};
  EXPECT_EQ(std::nullopt, pending.Staged());
  StagedBatch longer = batch;
  longer.lines += std::string(100, 'x');
  ASSERT_TRUE(pending.Stage(longer));
  ASSERT_TRUE(pending.Stage(batch));
  EXPECT_EQ(batch, pending.Staged()) << "what is left of a longer stage is no part of it";
  StagedBatch withoutChanges = batch;
  withoutChanges.changeFile = withoutChanges.changeRows = "";
  withoutChanges.changeSize = 0;
  ASSERT_TRUE(pending.Stage(withoutChanges));
  std::ifstream in(pending.Path(), std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(in), {});
  text.replace(text.find(" 3\n"), 3, " 2\n").erase(text.rfind("0: 0 0: "), 8);
  std::ofstream(pending.Path(), std::ios::binary | std::ios::trunc) << text;
  EXPECT_EQ(withoutChanges, pending.Staged()) << "an earlier version's stage";
  ASSERT_TRUE(pending.Stage(batch));
  const auto staged = std::filesystem::file_size(pending.Path());
  std::filesystem::resize_file(pending.Path(), 50);
  std::filesystem::resize_file(pending.Path(), staged);
  EXPECT_EQ(std::nullopt, pending.Staged()) << "cut short by a kill";

  // A later batch of the same shape, cut short over this one at any byte, reads as this one (it
  // changed nothing yet), as itself (written whole) or as nothing: only the stage numbers tell
  // its lines from this one's probes, which would settle records that were never converted.
  StagedBatch later = batch;
  later.lines.replace(later.lines.find("A 1"), 3, "Z 9");
  later.probes[0].key[0].second = "Z 9";
  auto bytesOf = [&](const StagedBatch& stage) {
    EXPECT_TRUE(pending.Stage(stage));
    std::ifstream file(pending.Path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  const std::string earlier = bytesOf(batch), whole = bytesOf(later);
  ASSERT_EQ(earlier.size(), whole.size());
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    const std::string left = whole.substr(0, cut) + earlier.substr(cut);
    std::ofstream(pending.Path(), std::ios::binary | std::ios::trunc) << left;
    ASSERT_EQ(left == earlier ? std::optional(batch)
              : left == whole ? std::optional(later)
                              : std::nullopt,
              pending.Staged())
        << "cut after " << cut << " bytes";
  }
  pending.Clear();
  EXPECT_FALSE(std::filesystem::exists(pending.Path()));

  std::ofstream(folder / "victim") << "precious";
  std::filesystem::create_symlink(folder / "victim", pending.Path());
  PendingLogFile planted(folder, "AR_Items");
  EXPECT_FALSE(planted.Stage(batch)) << "never through a planted link";
  EXPECT_EQ(8u, std::filesystem::file_size(folder / "victim"));
}

/// A/R item A100 with its GST row of class 1; the probes describe conversions of its rows.
class RecordProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    company.data().insert("AR0010", {{"#1", "A100"}});
    company.data().insert("AR0011", {{"#1", "A100"}, {"#2", "GST"}, {"#3", I{1}}});
  }

  testing::StandinCompany company;
  std::unique_ptr<DataSource> items = company.open("AR0010");
  std::unique_ptr<DataSource> taxes = company.open("AR0011", items.get());
};

TEST_F(RecordProbeTest, RecordsTellWhetherTheirBatchWasCommitted) {
  const RecordProbe insertHst{{{1, "A100"}}, 2, "HST", false, true, {{3, "", "2"}}};
  const RecordProbe updateGst{{{1, "A100"}}, 2, "GST", true, true, {{3, "1", "2"}}};
  const RecordProbe deleteGst{{{1, "A100"}}, 2, "GST", true, false, {{3, "1", ""}}};
  const RecordProbe unchanged{{{1, "A100"}}, 2, "GST", true, true, {{3, "1", "1 "}}};
  const RecordProbe otherItem{{{1, "B200"}}, 2, "GST", true, false, {}};
  const RecordProbe header{{{1, "A100"}}, 0, "", true, true, {{1, "A000", "A100"}}};
  auto outcome = [this](std::vector<RecordProbe> probes) {
    return CheckProbes(probes, *items, taxes.get());
  };
  using B = BatchOutcome;
  EXPECT_EQ(B::RolledBack, outcome({insertHst}));
  EXPECT_EQ(B::RolledBack, outcome({updateGst}));
  EXPECT_EQ(B::RolledBack, outcome({deleteGst}));
  EXPECT_EQ(B::Committed, outcome({header})) << "a header record by its own fields";
  EXPECT_EQ(B::Unknown, outcome({unchanged, otherItem})) << "alike, and not found";

  company.data().insert("AR0011", {{"#1", "A100"}, {"#2", "HST"}, {"#3", I{2}}});
  EXPECT_EQ(B::Committed, outcome({insertHst}));
  EXPECT_EQ(B::Committed, outcome({updateGst, insertHst})) << "one record settles the batch";
  company.data().database()->sql().exec("DELETE FROM AR0011 WHERE AUTHORITY = 'GST'");
  EXPECT_EQ(B::Committed, outcome({deleteGst}));
  EXPECT_EQ(B::Unknown, outcome({updateGst})) << "neither before nor after";
}

}  // namespace
}  // namespace host

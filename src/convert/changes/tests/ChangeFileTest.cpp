#include "convert/changes/ChangeFile.h"

#include "convert/changes/ChangeRecorder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <fstream>
#include <iterator>

namespace convert {
namespace {

TEST(ChangeFileTest, CellsSurviveTheirWayThroughCsv) {
  auto roundTrip = [](std::vector<std::string> cells) {
    const std::string line = CsvLine(cells);
    EXPECT_TRUE(line.ends_with("\r\n")) << line;
    EXPECT_EQ(std::vector<std::vector<std::string>>{cells}, ParseCsv(line)) << line;
    return line;
  };
  EXPECT_EQ("a,,b\r\n", roundTrip({"a", "", "b"}));
  EXPECT_EQ("\"1,5\",x\r\n", roundTrip({"1,5", "x"}));
  EXPECT_EQ("\"say \"\"no\"\"\"\r\n", roundTrip({"say \"no\""}));
  EXPECT_EQ("\"two\r\nlines\",\"\r\"\r\n", roundTrip({"two\r\nlines", "\r"}));
}

class ChangeFileWriterTest : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ordavel-changes-" + std::to_string(::getpid()));
  const ChangeFileHeader header{
      "Build 1",           "SAMLTD", "ADMIN", "job.ini", "2024-01-31T14:05:09+01:00", "AR",
      ChangeRunMode::Undo, "x.csv"};
  const std::chrono::system_clock::time_point when{};
};

TEST_F(ChangeFileWriterTest, EveryWriteLeavesAWholeFileThatSaysWhetherTheRunFinished) {
  ChangeFileWriter writer(folder, header, when);
  EXPECT_EQ(ChangeFileName(when, "AR"), writer.Path().filename().string());
  ChangeFileWriter second(folder, header, when);
  EXPECT_NE(writer.Path(), second.Path()) << "a name already taken is not reused";

  const ChangeRow row{"AR_Customers", "C100", "CODETAXGRP", "OLD", "HST", "converted"};
  writer.Write({row, row});
  ChangeFileContents read = ReadChangeFile(writer.Path());
  EXPECT_EQ(header, read.header);
  EXPECT_EQ((std::vector<ChangeRow>{row, row}), read.rows);
  EXPECT_FALSE(read.finished);
  EXPECT_TRUE(text(writer.Path()).ends_with("End of run,,,,,did not finish\r\n"));

  writer.Finish();
  writer.Write({row});
  read = ReadChangeFile(writer.Path());
  EXPECT_TRUE(read.finished);
  EXPECT_EQ(2u, read.rows.size());
  EXPECT_EQ(1, writer.LostRows());
}

// The file gets its name only once its header is written: a full disk (or a kill) at its creation
// leaves no file rather than an empty or headless one.
TEST_F(ChangeFileWriterTest, AHeaderThatDoesNotFitLeavesNoFile) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit room{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &room);
    ChangeFileWriter writer(folder, header, when);
    writer.Write({{"AR_Customers", "C100", "CODETAXGRP", "OLD", "HST", "converted"}});
    ::_exit(writer.Path().empty() && writer.LostRows() == 1 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(0, WEXITSTATUS(status)) << "no path, and the rows are counted as lost";
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

// A kill can cut the write of a batch's rows short at a page boundary. The next run mends the
// file to its last whole row, and settling the kind's log writes the staged rows again.
TEST_F(ChangeFileWriterTest, AWriteAKillCutShortIsMendedAndItsStagedRowsPutBack) {
  const ChangeRow row{"AR_Customers", "C100", "CODETAXGRP", "OLD", "HST", "converted"};
  const std::string rows =
      CsvLine({"AR_Customers", "C100", "CODETAXGRP", "OLD", "HST", "converted"}) +
      CsvLine({"AR_Customers", "C200", "TAXSTTS1", "1", "2", "converted"});
  const std::string marker = "End of run,,,,,did not finish\r\n";
  for (size_t cut : {size_t{0}, size_t{5}, rows.size() / 2 + 5, rows.size() - 3, rows.size() + 4}) {
    for (bool mended : {false, true}) {
      std::filesystem::path file;
      long long at = 0;
      {
        ChangeFileWriter killed(folder, header, when);
        killed.Write({row});
        file = killed.Path();
        at = killed.End();
      }
      const std::string before = text(file);
      // What the cut write leaves: its first bytes over the end row, and what they did not reach.
      std::string left = (rows + marker).substr(0, cut);
      if (left.size() < marker.size()) left += marker.substr(left.size());
      std::ofstream(file, std::ios::binary) << before.substr(0, at) << left;
      if (mended) {
        MendChangeFiles(folder);
        EXPECT_TRUE(text(file).ends_with(marker)) << cut;
        EXPECT_NO_THROW(ReadChangeFile(file)) << cut;
      }
      EXPECT_TRUE(PutStagedRows(file, at, rows)) << cut << mended;
      EXPECT_EQ(before.substr(0, at) + rows + marker, text(file)) << cut << mended;
      std::filesystem::remove(file);
    }
  }
  ChangeFileWriter running(folder, header, when);
  running.Write({row, row});
  std::ofstream(running.Path(), std::ios::app) << "AR_Cust";
  MendChangeFiles(folder);
  EXPECT_TRUE(text(running.Path()).ends_with("AR_Cust")) << "a running writer's file is its own";
  EXPECT_FALSE(PutStagedRows(running.Path(), running.End() - 10, rows))
      << "rows written since are never overwritten";
}

TEST_F(ChangeFileWriterTest, ADamagedFileIsRefusedWithWhatIsWrong) {
  ChangeFileWriter writer(folder, header, when);
  writer.Write({{"AR_Customers", "C100", "CODETAXGRP", "OLD", "HST", "converted"}});
  const std::string whole = text(writer.Path());
  const std::string end = "End of run,,,,,did not finish\r\n";
  struct Case {
    const char* name;
    std::string text;
    const char* message;
  };
  for (const Case& c :
       {Case{"cut in a row", whole.substr(0, whole.size() - 4), "it ends in the middle of line"},
        Case{"no end row", whole.substr(0, whole.size() - end.size()),
             "it does not end with the row that ends a run."},
        Case{"short row", whole.substr(0, whole.size() - end.size()) + "a,b\r\n" + end,
             "does not have 6 columns."},
        Case{"not ours", "Kind,Key\r\n", "it is not a change file of Ordavel."}}) {
    std::ofstream(writer.Path(), std::ios::binary | std::ios::trunc) << c.text;
    try {
      ReadChangeFile(writer.Path());
      ADD_FAILURE() << c.name;
    } catch (const ChangeFileError& error) {
      EXPECT_NE(std::string::npos, std::string(error.what()).find(c.message))
          << c.name << ": " << error.what();
    }
  }
}

// Held rows of a batch whose commit failed claim no conversion: they hold their values before.
TEST_F(ChangeFileWriterTest, HeldRowsOfABatchThatWasUndoneSayTheyFailed) {
  ChangeFileWriter writer(folder, header, when);
  ChangeRecorder recorder(writer, false);
  recorder.StartKind("AR_Customers");
  for (const char* key : {"C100", "C300"}) {
    recorder.BeginRecord(key);
    recorder.Before("CODETAXGRP", "OLD");
    recorder.After("CODETAXGRP", "HST");
    recorder.EndRecord(
        std::string(key) == "C100" ? RecordOutcome::Converted : RecordOutcome::Skipped,
        std::string(key) == "C100" ? "" : "tax classes do not match");
  }
  recorder.FailHeld("the commit of its batch failed");
  recorder.Finish();
  EXPECT_EQ((std::vector<ChangeRow>{{"AR_Customers", "C100", "CODETAXGRP", "OLD", "OLD",
                                     "failed: the commit of its batch failed"},
                                    {"AR_Customers", "C300", "CODETAXGRP", "OLD", "OLD",
                                     "skipped: tax classes do not match"}}),
            ReadChangeFile(writer.Path()).rows);
}

}  // namespace
}  // namespace convert

#include "convert/changes/ChangeFileReader.h"
#include "convert/changes/ChangeFileWriter.h"
#include "convert/changes/ChangeRecorder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <fstream>
#include <iterator>

namespace convert {
namespace {

TEST(ChangeFileTest, CellsSurviveTheirWayThroughCsvAndNoneReadsAsAFormula) {
  auto roundTrip = [](const char* name, std::vector<std::string> cells, const std::string& line) {
    EXPECT_EQ(line, CsvLine(cells)) << name;
    EXPECT_EQ(std::vector<std::vector<std::string>>{cells}, ParseCsv(line)) << name;
  };
  roundTrip("plain", {"a", "", "b"}, "a,,b\r\n");
  roundTrip("comma", {"1,5", "x"}, "\"1,5\",x\r\n");
  roundTrip("quotes", {"say \"no\""}, "\"say \"\"no\"\"\"\r\n");
  roundTrip("line breaks", {"two\r\nlines", "x\r"}, "\"two\r\nlines\",\"x\r\"\r\n");
  roundTrip("formulas", {"=1+1", "+1", "-1", "@SUM(A1)"}, "'=1+1,'+1,'-1,'@SUM(A1)\r\n");
  roundTrip("command", {"=cmd|'/c'!A1"}, "'=cmd|'/c'!A1\r\n");
  roundTrip("tab and CR", {"\tx", "\rx"}, "'\tx,\"'\rx\"\r\n");
  roundTrip("apostrophes", {"'x", "'%41", "%41"}, "''x,''%41,%41\r\n");
  roundTrip("not UTF-8", {"a\xFF%b", "\xC3", "\xED\xA0\x80"}, "'%a%FF%25b,'%%C3,'%%ED%A0%80\r\n");
  roundTrip("UTF-8", {"Québec €"}, "Québec €\r\n");
}

class ChangeFileWriterTest : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(folder); }

  static std::string text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void write(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }
  /// The rows signed as a writer at `head` would write them.
  std::string signedRows(std::string head, const std::vector<ChangeRow>& rows) const {
    std::string lines;
    for (const ChangeRow& each : rows) AppendSignedRow(lines, digest, head, each);
    return lines;
  }

  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ordavel-changes-" + std::to_string(::getpid()));
  const ChangeFileHeader header{
      "Build 1",           "SAMLTD", "ADMIN", "=job.ini", "2024-01-31T14:05:09+01:00", "AR",
      ChangeRunMode::Undo, "x.csv"};
  const std::chrono::system_clock::time_point when{};
  const ChangeDigest digest{"secret of the company"};
  const ChangeRow row{"AR_Customers", "0100", "CODETAXGRP", "OLD", "HST", "converted"};
  const ChangeRow other{"AR_Customers", "C200", "TAXSTTS1", "1", "2", "converted"};
  const std::string marker = "End of run,,,,,did not finish\r\n";
};

TEST_F(ChangeFileWriterTest, EveryWriteLeavesAWholeOwnerOnlyFileThatSaysWhetherTheRunFinished) {
  ChangeFileWriter writer(folder, header, when, digest);
  EXPECT_EQ(ChangeFileName(when, "AR", ChangeRunMode::Undo), writer.Path().filename().string());
  ChangeFileWriter second(folder, header, when, digest);
  EXPECT_NE(writer.Path(), second.Path()) << "a name already taken is not reused";
  struct stat info {};
  ASSERT_EQ(0, ::stat(writer.Path().c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 0777);

  writer.Write({row, other});
  ChangeFileContents read = ReadChangeFile(writer.Path(), &digest);
  EXPECT_EQ(header, read.header);
  EXPECT_EQ((std::vector<ChangeRow>{row, other}), read.rows);
  EXPECT_FALSE(read.finished);
  EXPECT_TRUE(text(writer.Path()).ends_with(marker));

  writer.Finish();
  writer.Write({row});
  read = ReadChangeFile(writer.Path(), &digest);
  EXPECT_TRUE(read.finished);
  EXPECT_EQ(2u, read.rows.size());
  EXPECT_EQ(1, writer.LostRows());
}

TEST_F(ChangeFileWriterTest, PreviewConversionAndUndoFilesAreNamedApartAndNoPlantedNameIsTaken) {
  EXPECT_EQ("19700101_000000_AR_preview_changes.csv",
            ChangeFileName(when, "AR", ChangeRunMode::Preview).replace(0, 15, "19700101_000000"));
  EXPECT_TRUE(
      ChangeFileName(when, "AR", ChangeRunMode::Conversion).ends_with("_conversion_changes.csv"));
  std::filesystem::create_directories(folder);
  const std::filesystem::path planted = folder / ChangeFileName(when, "AR", ChangeRunMode::Undo);
  std::filesystem::create_symlink(folder / "elsewhere", planted);
  {
    ChangeFileWriter writer(folder, header, when, digest);
    writer.Finish();
    EXPECT_NE(planted, writer.Path());
    EXPECT_TRUE(std::filesystem::is_regular_file(writer.Path()));
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere"));
  ChangeFileWriter nowhere(folder / "no" / "such", header, when, digest);
  nowhere.Finish();
  EXPECT_EQ("", nowhere.Path().string()) << "a file never made is never named";
}

// The file gets its name only once its header is written: a full disk (or a kill) at its creation
// leaves no file rather than an empty or headless one. Later, a write the disk cannot take is
// taken back to the last whole row, and the file says the run did not finish ever after.
TEST_F(ChangeFileWriterTest, AFullDiskLeavesNoFileOrAWholeOneThatSaysTheRunDidNotFinish) {
  auto inChild = [&](long room, const std::function<bool()>& run) {
    const pid_t child = ::fork();
    if (child == 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{static_cast<rlim_t>(room), static_cast<rlim_t>(room)};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      ::_exit(run() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  };
  EXPECT_TRUE(inChild(100, [&] {
    ChangeFileWriter writer(folder, header, when, digest);
    writer.Write({row});
    return writer.Path().empty() && writer.LostRows() == 1;
  })) << "no path, and the rows are counted as lost";
  EXPECT_TRUE(std::filesystem::is_empty(folder));

  const long headerSize = static_cast<long>(ChangeHeaderText(header).size());
  EXPECT_TRUE(inChild(headerSize + 200, [&] {
    ChangeFileWriter writer(folder, header, when, digest);
    writer.Write({row});
    writer.Write({row, other, row});
    writer.Write({other});
    writer.Finish();
    return writer.LostRows() == 4;
  }));
  const std::filesystem::path file = std::filesystem::directory_iterator(folder)->path();
  EXPECT_TRUE(text(file).ends_with(marker));
  const ChangeFileContents read = ReadChangeFile(file, &digest);
  EXPECT_EQ(std::vector<ChangeRow>{row}, read.rows);
  EXPECT_FALSE(read.finished);
}

// A kill can cut the write of a batch's rows short at a page boundary. The next run mends the
// file to its last whole row, and settling the kind's log writes the staged rows again.
TEST_F(ChangeFileWriterTest, AWriteAKillCutShortIsMendedAndItsStagedRowsPutBack) {
  for (size_t cut : {size_t{0}, size_t{5}, size_t{60}, size_t{150}, size_t{190}}) {
    for (bool mended : {false, true}) {
      std::filesystem::path file;
      long long at = 0;
      std::string rows;
      {
        ChangeFileWriter killed(folder, header, when, digest);
        killed.Write({row});
        file = killed.Path();
        at = killed.End();
        rows = signedRows(killed.Head(), {row, other});
      }
      const std::string before = text(file);
      // What the cut write leaves: its first bytes over the end row, and what they did not reach.
      std::string left = (rows + marker).substr(0, cut);
      if (left.size() < marker.size()) left += marker.substr(left.size());
      write(file, before.substr(0, at) + left);
      if (mended) {
        MendChangeFiles(folder);
        EXPECT_TRUE(text(file).ends_with(marker)) << cut;
        EXPECT_NO_THROW(ReadChangeFile(file, &digest)) << cut;
      }
      EXPECT_TRUE(PutStagedRows(file, at, rows)) << cut << mended;
      EXPECT_EQ(before.substr(0, at) + rows + marker, text(file)) << cut << mended;
      EXPECT_EQ(3u, ReadChangeFile(file, &digest).rows.size()) << cut << mended;
      std::filesystem::remove(file);
    }
  }
  ChangeFileWriter running(folder, header, when, digest);
  running.Write({row, row});
  std::ofstream(running.Path(), std::ios::app) << "AR_Cust";
  MendChangeFiles(folder);
  EXPECT_TRUE(text(running.Path()).ends_with("AR_Cust")) << "a running writer's file is its own";
  EXPECT_FALSE(PutStagedRows(running.Path(), running.End() - 10, signedRows(running.Head(), {row})))
      << "rows written since are never overwritten";
}

// Any edit breaks the digest chain from the edited row on; a cut after a whole row, as a kill
// leaves it, does not.
TEST_F(ChangeFileWriterTest, TheDigestChainProvesEveryRowAndSurvivesACutAtARowBoundary) {
  ChangeFileWriter writer(folder, header, when, digest);
  writer.Write({row, other, row});
  writer.Finish();
  const std::string whole = text(writer.Path());
  const std::filesystem::path file = writer.Path().string() + ".edited";
  auto edited = [&](const std::string& from, const std::string& to) {
    std::string bytes = whole;
    return bytes.replace(bytes.find(from), from.size(), to);
  };
  const size_t second = whole.find("AR_Customers,C200");
  const size_t third = whole.find("\r\n", second) + 2;
  struct Case {
    const char* name;
    std::string bytes;
  };
  for (const Case& c : {Case{"a value before", edited(",OLD,", ",NEW,")},
                        Case{"saved by a spreadsheet", edited(",0100,", ",100,")},
                        Case{"the Company line", edited("Company,SAMLTD", "Company,OTHER")},
                        Case{"a row deleted", whole.substr(0, second) + whole.substr(third)},
                        Case{"a row added", whole.substr(0, third) + whole.substr(second)},
                        Case{"a digest", edited(",converted,", ",converted,0")},
                        Case{"a finished row forged",
                             whole.substr(0, second) + "End of run,,,,,the run finished,0\r\n"}}) {
    write(file, c.bytes);
    EXPECT_ANY_THROW(ReadChangeFile(file, &digest)) << c.name;
    EXPECT_NO_THROW(ReadChangeFile(file)) << c.name << ": still a change file, unproven";
  }
  write(file, whole);
  const ChangeDigest another("another company's secret");
  EXPECT_THROW(ReadChangeFile(file, &another), ChangeFileChanged);
  EXPECT_THROW((write(file, edited(",OLD,", ",NEW,")), ReadChangeFile(file, &digest)),
               ChangeFileChanged);
  for (size_t end = whole.find("AR_Customers"); end < whole.size();
       end = whole.find("\r\n", end) + 2) {
    write(file, whole.substr(0, end) + marker);
    EXPECT_EQ(std::count(whole.begin(), whole.begin() + end, '\n') - 9,
              ReadChangeFile(file, &digest).rows.size());
  }
}

TEST_F(ChangeFileWriterTest, ADamagedFileOrOneThatIsNoFileIsRefusedWithWhatIsWrong) {
  ChangeFileWriter writer(folder, header, when, digest);
  writer.Write({row});
  const std::string whole = text(writer.Path());
  const std::string headless = whole.substr(0, whole.find("Kind,Record key"));
  const std::filesystem::path fifo = folder / "fifo";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  struct Case {
    const char* name;
    std::string text;
    const char* message;
    std::filesystem::path file = {};
  };
  for (const Case& c :
       {Case{"cut in a row", whole.substr(0, whole.size() - 4), "it ends in the middle of line"},
        Case{"no end row", whole.substr(0, whole.size() - marker.size()),
             "it does not end with the row that ends a run."},
        Case{"rows after the end", whole + whole.substr(whole.find("AR_Cust")),
             "it does not end with the row that ends a run."},
        Case{"short row", whole.substr(0, whole.size() - marker.size()) + "a,b\r\n" + marker,
             "does not have 7 columns."},
        Case{"no digest", headless + "Kind,Record key,Field,Before,After,Outcome\r\n" + marker,
             "a version of Ordavel that wrote no digest"},
        Case{"long line", headless + std::string(70000, 'x'), "is longer than any row"},
        Case{"not ours", "Kind,Key\r\n", "it is not a change file of Ordavel."},
        Case{"a FIFO", "", "it is not a regular file.", fifo},
        Case{"a device", "", "it is not a regular file.", "/dev/zero"},
        Case{"a folder", "", "it is not a regular file.", folder}}) {
    if (c.file.empty()) write(writer.Path(), c.text);
    try {
      ReadChangeFile(c.file.empty() ? writer.Path() : c.file);
      ADD_FAILURE() << c.name;
    } catch (const ChangeFileError& error) {
      EXPECT_NE(std::string::npos, std::string(error.what()).find(c.message))
          << c.name << ": " << error.what();
    }
  }
}

// Held rows of a batch whose commit failed claim no conversion: they hold their values before.
TEST_F(ChangeFileWriterTest, HeldRowsOfABatchThatWasUndoneSayTheyFailed) {
  ChangeFileWriter writer(folder, header, when, digest);
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
            ReadChangeFile(writer.Path(), &digest).rows);
}

}  // namespace
}  // namespace convert

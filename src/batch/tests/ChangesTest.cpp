#include "batch/UndoRun.h"
#include "batch/tests/RunnerFixture.h"
#include "convert/changes/ChangeFileReader.h"
#include "convert/changes/ChangeFileWriter.h"
#include "standin/database/ProgramSecret.h"

#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <functional>
#include <map>

namespace batch {
namespace {

using convert::ChangeRow;

/// Customers C100 and C200 on OLD 1,1 and C300 on OLD 2,2 (skipped); A/R items whose tax rows
/// an operations grid inserts, deletes and updates.
class ChangesTest : public fixture::RunnerTest {
 public:
  void SetUp() override {
    RunnerTest::SetUp();
    item("I100", {{"GST", 1}, {"PST", 1}});
    item("I200", {{"GST", 3}, {"PST", 2}});
    item("I300", {{"HST", 1}});
  }

  void item(const std::string& id, const std::map<std::string, std::int64_t>& rows) {
    company->insert("AR0010", {{"IDITEM", id}});
    for (const auto& [authority, taxClass] : rows) {
      company->insert("AR0011", {{"IDITEM", id}, {"AUTHORITY", authority}, {"TAXSTTS", taxClass}});
    }
  }

  /// Every tax field of the customers and every A/R item tax row, as text.
  std::string taxFields() {
    std::string text;
    for (const char* sql : {"SELECT IDCUST, CODETAXGRP, TAXSTTS1, TAXSTTS2, TAXSTTS3, TAXSTTS4, "
                            "TAXSTTS5 FROM AR0024 ORDER BY IDCUST",
                            "SELECT IDITEM, AUTHORITY, TAXSTTS, SWTAXINCL FROM AR0011 ORDER BY "
                            "IDITEM, AUTHORITY"}) {
      SQLite::Statement query(company->database()->sql(), sql);
      while (query.executeStep()) {
        for (int i = 0; i < query.getColumnCount(); ++i)
          text += query.getColumn(i).getString() + " ";
        text += "\n";
      }
    }
    return text;
  }

  void exec(const std::string& sql) { company->database()->sql().exec(sql); }

  /// Every file of the site (registry, programs, shared data) with a hash of its bytes.
  std::map<std::string, size_t> siteFiles() const {
    std::map<std::string, size_t> files;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(site.sharedData().parent_path())) {
      if (entry.is_regular_file()) files[entry.path()] = std::hash<std::string>()(bytesOf(entry));
    }
    return files;
  }

  /// The change file the last run printed.
  std::filesystem::path changeFile() const {
    const std::string text = out.str();
    const size_t at = text.rfind("Change file: ");
    if (at == std::string::npos) return {};
    const size_t start = at + 13;
    return text.substr(start, text.find('\n', start) - start);
  }

  /// Runs `job` in a child process that `arm` sets up to kill itself; the change file the killed
  /// run left in the log folder, empty when the run was not killed.
  std::filesystem::path changeFileOfKilledRun(const std::string& job,
                                              const std::function<void()>& arm) {
    const pid_t child = ::fork();
    if (child == 0) {
      arm();
      Run(job);
      ::_exit(0);
    }
    int status = 0;
    const bool killed = child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status);
    // The child wrote its job where writeJob puts it, and died before it could remove it.
    std::filesystem::remove(
        std::filesystem::temp_directory_path() /
        ("ordavel-batch-" + std::to_string(child) + "-" + std::to_string(jobs.size()) + ".ini"));
    if (!killed) {
      ADD_FAILURE() << "the run was not killed";
      return {};
    }
    for (const auto& entry : std::filesystem::directory_iterator(logs())) {
      if (entry.path().string().ends_with("_changes.csv")) return entry.path();
    }
    return {};
  }

  ExitStatus Undo(const std::filesystem::path& file, const std::string& other = "") {
    Workstation station = Station();
    const auto opened = OpenChangeFile(file.string(), other, out);
    return opened ? UndoChanges(*opened, station, out) : kRefused;
  }

  /// The change file of `run` ("conversion", "undo") in the log folder; empty when none is.
  std::filesystem::path changeFileOf(const std::string& run) const {
    for (const auto& entry : std::filesystem::directory_iterator(logs())) {
      if (entry.path().string().ends_with("_" + run + "_changes.csv")) return entry.path();
    }
    return {};
  }

  /// A change file of the A/R tab holding `rows`, signed with the company's own key: what only
  /// someone who can read the company's database could forge.
  std::filesystem::path signedFile(const std::vector<ChangeRow>& rows) {
    const convert::ChangeDigest digest(
        erp::ProgramSecret(*company->database(), "Ordavel change files", true));
    convert::ChangeFileWriter writer(
        logs(), {"Build", "SAMLTD", "ADMIN", "", "", "AR", convert::ChangeRunMode::Conversion, ""},
        std::chrono::system_clock::now(), digest);
    writer.Write(rows);
    writer.Finish();
    return writer.Path();
  }

  /// `text` written to a file beside the change files, named after `name`.
  std::filesystem::path fileOf(const std::string& name, const std::string& text) const {
    const std::filesystem::path file = logs() / (name + ".csv");
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

  /// The rows of a record in a change file: field -> before, after, outcome.
  static std::map<std::string, std::vector<std::string>> rowsOf(const std::vector<ChangeRow>& rows,
                                                                const std::string& key) {
    std::map<std::string, std::vector<std::string>> fields;
    for (const ChangeRow& row : rows) {
      if (row.key == key) fields[row.field] = {row.before, row.after, row.outcome};
    }
    return fields;
  }

  const std::string kJob = kRunAR +
                           "[chkCustomers]\nChecked=Yes\nafecFromCustomer=C100\n"
                           "afecToCustomer=C300\n[chkARItemTaxes]\nChecked=Yes\n"
                           "[SalesFromGrid]\nTaxGroup=OLD\nClasses=1,1\n"
                           "[SalesToGrid]\nTaxGroup=HST\nClasses=1\n"
                           "[ARItemsGrid]\nRow1=Insert,HST,,1,No\nRow2=Delete,PST\n"
                           "Row3=Update,GST,1,2\n";
};

TEST_F(ChangesTest, TheChangeFileHoldsEveryFieldBeforeAndAfterAsTheDatabaseDoes) {
  ASSERT_EQ(kIncomplete, RunAll({kJob}));
  const convert::ChangeFileContents changes = convert::ReadChangeFile(changeFile());
  EXPECT_TRUE(changes.finished);
  EXPECT_EQ("SAMLTD", changes.header.company);
  EXPECT_EQ("ADMIN", changes.header.user);
  EXPECT_EQ(jobName(0), changes.header.job);
  EXPECT_EQ(convert::ChangeRunMode::Conversion, changes.header.mode);
  using Fields = std::map<std::string, std::vector<std::string>>;
  EXPECT_EQ((Fields{{"CODETAXGRP", {"OLD", "HST", "converted"}},
                    {"TAXSTTS1", {"1", "1", "converted"}},
                    {"TAXSTTS2", {"1", "0", "converted"}},
                    {"TAXSTTS3", {"0", "0", "converted"}},
                    {"TAXSTTS4", {"0", "0", "converted"}},
                    {"TAXSTTS5", {"0", "0", "converted"}}}),
            rowsOf(changes.rows, "C100"));
  const std::string skipped = "skipped: tax classes do not match";
  EXPECT_EQ((std::vector<std::string>{"2", "2", skipped}),
            rowsOf(changes.rows, "C300")["TAXSTTS1"]);
  EXPECT_EQ((Fields{{"GST: row", {"present", "present", "converted"}},
                    {"GST: TAXSTTS", {"1", "2", "converted"}},
                    {"GST: SWTAXINCL", {"0", "0", "converted"}},
                    {"HST: row", {"absent", "present", "converted"}},
                    {"HST: TAXSTTS", {"", "1", "converted"}},
                    {"HST: SWTAXINCL", {"", "0", "converted"}},
                    {"PST: row", {"present", "absent", "converted"}},
                    {"PST: TAXSTTS", {"1", "", "converted"}},
                    {"PST: SWTAXINCL", {"0", "", "converted"}}}),
            rowsOf(changes.rows, "I100"));
  EXPECT_EQ((Fields{{"", {"", "", "skipped: no operations performed"}}}),
            rowsOf(changes.rows, "I300"));
  EXPECT_EQ(
      "C100 HST 1 0 0 0 0 \nC200 HST 1 0 0 0 0 \nC300 OLD 2 2 0 0 0 \n"
      "I100 GST 2 0 \nI100 HST 1 0 \nI200 GST 3 0 \nI200 HST 1 0 \nI300 HST 1 0 \n",
      taxFields());
}

TEST_F(ChangesTest, APreviewSavesNothingAndPredictsTheConversionRecordForRecord) {
  // The log folder holds an earlier day's log, which must stay as it is.
  const std::filesystem::path folder = logs();
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "20200101_AR_Customers.log") << "earlier\r\n";
  auto before = siteFiles();
  preview = true;
  // Another program may take the company's write lock at every moment of a preview.
  int refused = 0;
  pump.onPoll = [&] {
    SQLite::Database other(company->file().string(), SQLite::OPEN_READWRITE);
    if (other.tryExec("BEGIN IMMEDIATE") != SQLITE_OK) ++refused;
    other.tryExec("ROLLBACK");
  };
  ASSERT_EQ(kIncomplete, RunAll({kJob}));
  pump.onPoll = nullptr;
  EXPECT_EQ(0, refused);
  const std::filesystem::path previewFile = changeFile();
  auto after = siteFiles();
  ASSERT_EQ(1u, after.erase(previewFile.string()));
  // The other program's transactions change the -shm index, which the preview only reads.
  before.erase(company->file().string() + "-shm");
  after.erase(company->file().string() + "-shm");
  EXPECT_EQ(before, after);
  EXPECT_NE(std::string::npos,
            out.str().find("Customers: 3 to convert, 2 would convert, 1 would skip"));

  preview = false;
  ASSERT_EQ(kIncomplete, RunAll({kJob}));
  std::vector<ChangeRow> predicted = convert::ReadChangeFile(previewFile).rows;
  for (ChangeRow& row : predicted) {
    if (row.outcome == "would convert") row.outcome = "converted";
    if (row.outcome.starts_with("would skip")) row.outcome.replace(0, 10, "skipped");
  }
  EXPECT_EQ(convert::ChangeRunMode::Preview, convert::ReadChangeFile(previewFile).header.mode);
  EXPECT_EQ(predicted, convert::ReadChangeFile(changeFile()).rows);
}

// A killed run leaves a change file to mend, a batch to settle and the company's -wal and -shm:
// a preview reads what it committed and leaves every byte of the site but its own change file.
TEST_F(ChangesTest, APreviewAfterAKilledRunLeavesEveryFileOfTheSiteAsItWas) {
  const std::filesystem::path database = company->file();
  company.reset();  // the killed run's is to be the last connection the company had
  const std::filesystem::path killed =
      changeFileOfKilledRun(kCustomersJob, [&] { onCommit = [] { ::raise(SIGKILL); }; });
  ASSERT_FALSE(killed.empty());
  // As if the kill had come in the middle of a write: a change file the next run would mend.
  std::filesystem::resize_file(killed, std::filesystem::file_size(killed) - 5);
  ASSERT_TRUE(std::filesystem::exists(database.string() + "-wal") &&
              std::filesystem::exists(database.string() + "-shm"));
  const auto before = siteFiles();

  preview = true;
  EXPECT_EQ(kIncomplete, RunAll({kCustomersJob}));
  EXPECT_NE(std::string::npos, out.str().find("Customers: 1 to convert, 0 would convert"))
      << "C100 and C200, committed before the kill, are on HST already: " << out.str();
  auto after = siteFiles();
  ASSERT_EQ(1u, after.erase(changeFile().string()));
  EXPECT_EQ(before, after);
}

TEST_F(ChangesTest, UndoPutsBackWhatIsUnchangedSinceReportsTheRestAndCanBeUndoneItself) {
  const std::string original = taxFields();
  ASSERT_EQ(kIncomplete, RunAll({kJob}));
  const std::filesystem::path converted = changeFile();
  // Another user moves C200 on meanwhile: the undo must not take that back.
  exec("UPDATE AR0024 SET TAXSTTS1 = 2 WHERE IDCUST = 'C200'");
  const std::string convertedFields = taxFields();

  EXPECT_EQ(kIncomplete, Undo(converted));
  EXPECT_NE(std::string::npos,
            out.str().find("Undo Customers C200 skipped. Changed since: TAXSTTS1 is \"2\", not "
                           "\"1\"."))
      << out.str();
  std::string expected = original;
  expected.replace(expected.find("C200 OLD 1 1"), 12, "C200 HST 2 0");
  EXPECT_EQ(expected, taxFields());
  EXPECT_EQ(1u, rowsOf(convert::ReadChangeFile(changeFile()).rows, "C100").count("TAXSTTS2"));

  // Undoing the undo redoes the conversion of what it put back; Ctrl-C stops it first.
  const std::filesystem::path undone = changeFile();
  pump.after = 0;
  EXPECT_EQ(kCancelled, Undo(undone));
  EXPECT_NE(std::string::npos, out.str().find("The undo was cancelled.")) << out.str();
  EXPECT_EQ(expected, taxFields());
  pump.after = -1;
  pump.flag.store(false);
  EXPECT_EQ(kComplete, Undo(undone));
  EXPECT_EQ(convertedFields, taxFields());
}

TEST_F(ChangesTest, UndoRefusesAFileOfAnotherCompanyAPreviewsAndADamagedOneChangingNothing) {
  preview = true;
  ASSERT_EQ(kIncomplete, RunAll({kJob}));
  const std::filesystem::path previewFile = changeFile();
  preview = false;
  ASSERT_EQ(kIncomplete, RunAll({kJob}));
  const std::filesystem::path converted = changeFile();
  const std::string text = bytesOf(converted);
  const std::filesystem::path cut = converted.string() + ".cut";
  std::ofstream(cut, std::ios::binary) << text.substr(0, text.size() - 5);
  const std::filesystem::path unknown = converted.string() + ".unknown";
  std::string renamed = text;
  renamed.replace(renamed.find("AR_Customers,C100"), 12, "AR_Nothing");
  std::ofstream(unknown, std::ios::binary) << renamed;
  otherCompany();
  const std::string header = text.substr(0, text.find("AR_Customers"));
  std::string older = header;
  older.replace(older.find(",Digest"), 7, "");
  const std::filesystem::path big = fileOf("big", header);
  std::filesystem::resize_file(big, std::filesystem::path::string_type::size_type{1} << 30);
  const std::filesystem::path fifo = logs() / "fifo";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));

  struct Case {
    const char* name;
    std::filesystem::path file;
    std::string company;
    const char* message;
  };
  for (const Case& c :
       {Case{"preview", previewFile, "", "it is a preview's, which saved nothing."},
        Case{"cut short", cut, "", "it ends in the middle of line"},
        Case{"other company", converted, "OTHER", "it belongs to company SAMLTD, not to OTHER."},
        Case{"unknown kind", unknown, "", "it names an unknown kind of record, AR_Nothing."},
        Case{"no digest", fileOf("older", older + "End of run,,,,,the run finished\r\n"), "",
             "it was written by a version of Ordavel that wrote no digest"},
        Case{"a FIFO", fifo, "", "it is not a regular file."},
        Case{"a device", "/dev/zero", "", "it is not a regular file."},
        Case{"a big file", big, "", "line 10 is longer than any row of a change file."}}) {
    const std::string fields = taxFields();
    out.str("");
    EXPECT_EQ(kRefused, Undo(c.file, c.company)) << c.name;
    EXPECT_NE(std::string::npos, out.str().find(c.message)) << c.name << ": " << out.str();
    EXPECT_NE(std::string::npos, out.str().find("Nothing was changed.")) << c.name;
    EXPECT_EQ(fields, taxFields()) << c.name;
  }
}

// Only what a run provably wrote is put back: an edit anywhere breaks the digest chain, and even
// a file signed with the company's key names only tax fields of its tab's kinds, whole records,
// values the ERP takes.
TEST_F(ChangesTest, UndoPutsBackOnlyWholeRecordsOfTaxFieldsFromAnUneditedFile) {
  customer(*company, "0100", "1");
  std::string job = kCustomersJob;
  ASSERT_EQ(kIncomplete, RunAll({job.replace(job.find("=C100"), 5, "=0100")}));
  const std::filesystem::path converted = changeFile();
  const std::string text = bytesOf(converted);
  const size_t c100 = text.find("AR_Customers,C100,");
  const std::string line = text.substr(c100, text.find('\n', c100) + 1 - c100);
  const size_t end = text.rfind("End of run");
  std::string untouched = line;
  untouched.replace(untouched.find("C100"), 4, "C300");
  auto edited = [&](const std::string& name, const std::string& from, const std::string& to) {
    std::string bytes = text;
    return fileOf(name, bytes.replace(bytes.find(from), from.size(), to));
  };
  std::unique_ptr<erp::testing::TestCompany> other = otherCompany();
  other->insert("AR0024",
                {{"IDCUST", "C100"}, {"CODETAXGRP", "HST"}, {"TAXSTTS1", std::int64_t{1}}});
  std::vector<ChangeRow> c200;
  for (const ChangeRow& row : convert::ReadChangeFile(converted).rows) {
    if (row.key == "C200") c200.push_back(row);
  }
  std::vector<ChangeRow> refused = c200;
  refused[0].before = "NOPE";
  const ChangeRow evil{"AR_Customers", "C100", "NAMECUST", "Evil Corp", "", "converted"};
  struct Case {
    const char* name;
    std::filesystem::path file;
    ExitStatus status;
    std::string message;
  };
  const std::string changed = " was changed after it was written.";
  for (const Case& c :
       {Case{"a value before", edited("before", ",C100,TAXSTTS2,1,0,", ",C100,TAXSTTS2,2,0,"),
             kRefused, "before.csv" + changed},
        Case{"an untouched record",
             fileOf("untouched", text.substr(0, end) + untouched + text.substr(end)), kRefused,
             "untouched.csv" + changed},
        Case{"the Company line", edited("company", "Company,SAMLTD", "Company,OTHER"), kRefused,
             "company.csv" + changed},
        Case{"a row deleted",
             fileOf("deleted", text.substr(0, c100) + text.substr(c100 + line.size())), kRefused,
             "deleted.csv" + changed},
        Case{"saved by a spreadsheet", edited("spreadsheet", ",0100,", ",100,"), kRefused,
             "spreadsheet.csv" + changed},
        Case{"a field no conversion changes", signedFile({evil}), kRefused,
             "names NAMECUST, which no conversion of AR_Customers changes."},
        Case{"another tab's kind",
             signedFile({{"IC_Items", "A1", "ONPST: row", "present", "absent", "converted"}}),
             kRefused, "names IC_Items, a kind of tab IC, in a file of tab AR."},
        Case{"a record cut short", signedFile({c200[0]}), kIncomplete,
             "Undo Customers C200 refused. Its rows are incomplete: TAXSTTS1, TAXSTTS2"},
        Case{"a value the ERP refuses", signedFile(refused), kIncomplete,
             "Undo Customers C200 failed. Tax Group NOPE does not exist"}}) {
    const std::string fields = taxFields();
    out.str("");
    EXPECT_EQ(c.status, Undo(c.file)) << c.name << ": " << out.str();
    EXPECT_NE(std::string::npos, out.str().find(c.message)) << c.name << ": " << out.str();
    EXPECT_EQ(fields, taxFields()) << c.name;
    EXPECT_EQ("HST", taxGroupOf(*other, "C100")) << c.name;
  }
}

// A full disk in the middle of a run: the change file is taken back to its last whole row and
// says the run did not finish; the undo takes it and puts back what it lists.
TEST_F(ChangesTest, AFullDiskMidRunLeavesAWholeChangeFileThatUndoTakes) {
  const pid_t child = ::fork();
  if (child == 0) {
    int commits = 0;
    onCommit = [&] {
      if (++commits != 2) return;
      ::signal(SIGXFSZ, SIG_IGN);
      const auto room =
          static_cast<rlim_t>(std::filesystem::file_size(changeFileOf("conversion")) + 40);
      const rlimit limit{room, room};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    Run(kRunAR + "RecordsPerCommit=1\n" + kCustomersJob.substr(kRunAR.size()));
    ::_exit(0);
  }
  ASSERT_EQ(child, ::waitpid(child, nullptr, 0));
  const std::filesystem::path file = changeFileOf("conversion");
  EXPECT_TRUE(bytesOf(file).ends_with("End of run,,,,,did not finish\r\n")) << bytesOf(file);
  ASSERT_EQ("HST", taxGroupOf("C200"));
  EXPECT_EQ(kIncomplete, Undo(file)) << out.str();
  EXPECT_NE(std::string::npos, out.str().find("did not finish")) << out.str();
  EXPECT_EQ("OLD", taxGroupOf("C100"));
  EXPECT_EQ("HST", taxGroupOf("C200")) << "its rows were lost with the disk";
}

// An undo killed between a record's commit and its change rows: the undo of the undo still
// redoes that record, as the record's rows were staged before its commit.
TEST_F(ChangesTest, UndoingAKilledUndoRedoesEveryRecordItPutBack) {
  ASSERT_EQ(kIncomplete, RunAll({kCustomersJob}));
  const std::filesystem::path converted = changeFile();
  const pid_t child = ::fork();
  if (child == 0) {
    pump.onPoll = [&] {
      if (taxGroupOf("C100") == "OLD") ::raise(SIGKILL);
    };
    Undo(converted);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(child, ::waitpid(child, &status, 0));
  ASSERT_TRUE(WIFSIGNALED(status)) << "the undo was not killed";
  const std::filesystem::path undone = changeFileOf("undo");
  ASSERT_EQ("OLD", taxGroupOf("C100"));
  ASSERT_EQ(0u, rowsOf(convert::ReadChangeFile(undone).rows, "C100").size()) << "killed too late";
  EXPECT_EQ(kIncomplete, Undo(undone)) << out.str();
  EXPECT_EQ("HST", taxGroupOf("C100"));
  EXPECT_EQ(1u, rowsOf(convert::ReadChangeFile(undone).rows, "C100").count("CODETAXGRP"));
}

// Keys a spreadsheet would run as formulas, and keys that are not UTF-8, are written so that the
// file stays safe and valid UTF-8, and undo reads them back exactly.
TEST_F(ChangesTest, ChangeFilesAreNamedApartOwnerOnlyAndSafeInASpreadsheet) {
  const std::vector<std::string> keys = {"=1+1", "=cmd|'/c'!A1", "C1\xFF"};
  for (const std::string& key : keys) customer(*company, key, "1");
  std::string job = kCustomersJob;
  job.replace(job.find("=C100"), 5, "==");
  preview = true;
  ASSERT_EQ(kIncomplete, RunAll({job}));
  EXPECT_TRUE(changeFile().string().ends_with("_AR_preview_changes.csv")) << changeFile();
  preview = false;
  ASSERT_EQ(kIncomplete, RunAll({job}));
  const std::filesystem::path converted = changeFile();
  EXPECT_TRUE(converted.string().ends_with("_AR_conversion_changes.csv")) << converted;
  struct stat info {};
  ASSERT_EQ(0, ::stat(converted.c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 0777);
  const std::string text = bytesOf(converted);
  for (const char* cell : {",'=1+1,", ",'=cmd|'/c'!A1,", ",'%C1%FF,"}) {
    EXPECT_NE(std::string::npos, text.find(cell)) << cell;
  }
  EXPECT_EQ(std::string::npos, text.find('\xFF'));
  EXPECT_EQ(kComplete, Undo(converted)) << out.str();
  EXPECT_TRUE(changeFile().string().ends_with("_AR_undo_changes.csv")) << changeFile();
  for (const std::string& key : keys) EXPECT_EQ("OLD", taxGroupOf(key)) << key;
}

// A run killed between two records leaves a change file that reads whole, says the run did not
// finish, and claims only records that were converted.
TEST_F(ChangesTest, AKilledRunLeavesAWholeChangeFileThatSaysSo) {
  // The customers are through and the items' kind has begun: the process dies in its loop.
  int polls = -1;
  const std::filesystem::path file = changeFileOfKilledRun(kJob, [&] {
    onKindStarted = [&](const convert::KindDef& kind) {
      if (kind.checkBox == "chkARItemTaxes") polls = 0;
    };
    pump.onPoll = [&] {
      if (polls >= 0 && ++polls == 6) ::raise(SIGKILL);
    };
  });
  ASSERT_FALSE(file.empty());
  const std::string text = bytesOf(file);
  EXPECT_TRUE(text.ends_with("End of run,,,,,did not finish\r\n")) << text;
  const convert::ChangeFileContents changes = convert::ReadChangeFile(file);
  EXPECT_FALSE(changes.finished);
  for (const ChangeRow& row : changes.rows) {
    if (row.field == "CODETAXGRP" && row.outcome == "converted") {
      EXPECT_EQ(row.after, taxGroupOf(row.key)) << row.key;
    }
  }
  EXPECT_FALSE(changes.rows.empty());

  // What the killed run saved can be undone; the undo says the run did not finish.
  EXPECT_EQ(kIncomplete, Undo(file));
  EXPECT_NE(std::string::npos, out.str().find("did not finish")) << out.str();
  EXPECT_EQ("OLD", taxGroupOf("C100"));
}

// A run killed after a commit and before that batch's change rows reached its change file: the
// next start of the kind puts them there, so the killed run can be undone completely.
TEST_F(ChangesTest, TheNextRunOfAKindWritesTheRowsOfABatchAKillLeftUnwritten) {
  const std::filesystem::path file =
      changeFileOfKilledRun(kCustomersJob, [&] { onCommit = [] { ::raise(SIGKILL); }; });
  ASSERT_FALSE(file.empty());
  ASSERT_EQ("HST", taxGroupOf("C100"));
  ASSERT_EQ(0u, rowsOf(convert::ReadChangeFile(file).rows, "C100").size()) << "killed too late";

  ASSERT_EQ(kIncomplete, RunAll({kCustomersJob}));
  const convert::ChangeFileContents changes = convert::ReadChangeFile(file);
  EXPECT_FALSE(changes.finished);
  std::vector<std::string> listed;
  for (const ChangeRow& row : changes.rows) {
    if (row.field == "CODETAXGRP" && row.outcome == "converted") listed.push_back(row.key);
  }
  EXPECT_EQ((std::vector<std::string>{"C100", "C200"}), listed);
  EXPECT_EQ("HST", taxGroupOf("C200"));
  EXPECT_EQ(kIncomplete, Undo(file));
  EXPECT_EQ("OLD", taxGroupOf("C100"));
  EXPECT_EQ("OLD", taxGroupOf("C200"));
}

}  // namespace
}  // namespace batch

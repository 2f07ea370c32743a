#include "batch/TerminalPrompt.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace batch {
namespace {

TEST(PasswordTest, ADescriptorGivesItsFirstLine) {
  int pipe[2];
  ASSERT_EQ(0, ::pipe(pipe));
  const std::string text = "s3cret\r\nignored\n";
  ASSERT_EQ(static_cast<ssize_t>(text.size()), ::write(pipe[1], text.data(), text.size()));
  ::close(pipe[1]);
  EXPECT_EQ("s3cret", ReadPasswordFromDescriptor(pipe[0]));
  ::close(pipe[0]);
  EXPECT_THROW(ReadPasswordFromDescriptor(987), std::runtime_error);
}

// A password file anyone else may read or write leaks or swaps the password as surely as the
// environment does: only the owner's read, or read and write, is taken.
TEST(PasswordTest, APasswordFileMustBeTheOwnersAlone) {
  const auto file =
      std::filesystem::temp_directory_path() / ("ordavel-password-" + std::to_string(::getpid()));
  std::ofstream(file) << "s3cret\n";
  const std::pair<const char*, mode_t> refused[] = {
      {"EveryoneReads", 0644}, {"GroupReads", 0640},    {"GroupWrites", 0620},
      {"OthersRead", 0604},    {"OthersWrite", 0602},   {"GroupReadsOnly", 0440},
      {"GroupExecutes", 0610}, {"OwnerExecutes", 0700}, {"SetUserId", 04600},
      {"NobodyReads", 0200},
  };
  for (const auto& [name, mode] : refused) {
    ::chmod(file.c_str(), mode);
    try {
      ReadPasswordFile(file.string());
      ADD_FAILURE() << name << ": accepted";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ("--password-file " + file.string() +
                    ": it must be a plain file of yours that nobody else may read or write "
                    "(chmod 600).",
                std::string(error.what()))
          << name;
    }
  }
  for (const mode_t mode : {0400, 0600}) {
    ::chmod(file.c_str(), mode);
    EXPECT_EQ("s3cret", ReadPasswordFile(file.string())) << std::oct << mode;
  }
  std::filesystem::remove(file);
  EXPECT_THROW(ReadPasswordFile(file.string()), std::runtime_error);
}

}  // namespace
}  // namespace batch

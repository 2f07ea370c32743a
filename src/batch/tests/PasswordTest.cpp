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

// A password file others may read would leak the password as surely as the environment does.
TEST(PasswordTest, APasswordFileMustBeReadableByItsOwnerOnly) {
  const auto file =
      std::filesystem::temp_directory_path() / ("ordavel-password-" + std::to_string(::getpid()));
  std::ofstream(file) << "s3cret\n";
  ::chmod(file.c_str(), 0644);
  try {
    ReadPasswordFile(file.string());
    ADD_FAILURE() << "a file others may read was accepted";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ("The password file " + file.string() +
                  " must be a plain file of yours that nobody else may read (chmod 600).",
              std::string(error.what()));
  }
  ::chmod(file.c_str(), 0600);
  EXPECT_EQ("s3cret", ReadPasswordFile(file.string()));
  std::filesystem::remove(file);
  EXPECT_THROW(ReadPasswordFile(file.string()), std::runtime_error);
}

}  // namespace
}  // namespace batch

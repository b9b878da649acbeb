// The POSIX shell "open": the file is made executable for its owner and
// started in the given working directory without being waited for; a file
// that cannot be started leaves no second copy of the caller running.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "gtest/gtest.h"
#include "platform/platform.h"
#include "tests/support/test_folder.h"

namespace {

namespace fs = std::filesystem;
using platform_testing::ReadWholeFile;
using platform_testing::TestFolder;
using platform_testing::WriteWholeFile;

bool WaitFor(const std::string& path, const std::string& content) {
  for (int i = 0; i < 100; ++i) {
    if (ReadWholeFile(path) == content) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

TEST(ShellTest, OpenStartsTheFileDetachedInTheWorkingDirectory) {
  TestFolder folder;
  TestFolder work;
  const std::string program = folder / "program";
  // Waits until the caller has gone on: the start is not waited for.
  WriteWholeFile(program,
                 "#!/bin/sh\n"
                 "i=0; while [ ! -e go ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                 "pwd -P > started.txt\n"
                 "printf '%s' \"$#\" >> started.txt\n");
  fs::permissions(program, fs::perms::owner_read | fs::perms::owner_write);

  platform::Platform::Default()->ShellExecute("open", program, "", work.path(), 5);
  WriteWholeFile(work / "go", "");

  const std::string expected = fs::canonical(work.path()).string() + "\n0";
  EXPECT_TRUE(WaitFor(work / "started.txt", expected)) << ReadWholeFile(work / "started.txt");
  EXPECT_NE(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST(ShellTest, AFileThatCannotStartLeavesOnlyTheCaller) {
  TestFolder folder;
  const std::string not_a_program = folder / "data.bin";
  WriteWholeFile(not_a_program, std::string("\x01\x02\x03", 3));
  const std::string marker = folder / "after-open.txt";

  platform::Platform::Default()->ShellExecute("open", not_a_program, "", folder.path(), 5);
  platform::Platform::Default()->ShellExecute("open", folder / "missing", "", folder.path(), 5);
  // A child that came back from a failed start would run this line too.
  {
    std::FILE* out = std::fopen(marker.c_str(), "a");
    ASSERT_NE(out, nullptr);
    std::fputs("x", out);
    std::fclose(out);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(ReadWholeFile(marker), "x");
}

}  // namespace

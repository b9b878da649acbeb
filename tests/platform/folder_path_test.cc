// CreateFolderPath on real folders through the recording double: which
// creation requests it makes, in which order, and that odd paths end
// without a fault.
#include "platform/folder_path.h"

#include <string>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "path_separator.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_folder.h"

namespace {

using platform_testing::Op;
using platform_testing::RecordingPlatform;
using platform_testing::TestFolder;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Paths in the tables are written with '/', turned into the host's separator.
std::string Host(std::string path) {
  for (char& c : path) {
    if (c == '/') c = platform::kPathSeparator;
  }
  return path;
}

struct Case {
  const char* name;
  const char* existing_folders;  // made before the call, "" for none
  const char* existing_file;     // made before the call, "" for none
  const char* path;              // below the test folder
  std::vector<std::string> requests;
};

class CreateFolderPathTest : public ::testing::TestWithParam<Case> {};

TEST_P(CreateFolderPathTest, MakesTheExpectedCreationRequests) {
  const Case& c = GetParam();
  TestFolder root;
  RecordingPlatform host;
  host.SetPathRoot(root.path());
  if (*c.existing_folders != '\0') platform::CreateFolderPath(host, root / Host(c.existing_folders));
  if (*c.existing_file != '\0') platform_testing::WriteWholeFile(root / Host(c.existing_file), "x");
  host.ClearLog();

  platform::CreateFolderPath(host, root / Host(c.path));

  std::vector<std::string> expected;
  for (const std::string& line : c.requests) expected.push_back(Host(line));
  EXPECT_THAT(host.Log({Op::CreateFolder}), ElementsAreArray(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CreateFolderPathTest,
    ::testing::Values(
        Case{"ExistingFolder", "a/b", "", "a/b", {}},
        Case{"ExistingFolderWithSeparator", "a/b", "", "a/b/", {}},
        Case{"ThreeMissingLevelsTopDown", "", "", "a/b/c",
             {"CreateFolder a -> ok", "CreateFolder a/b -> ok", "CreateFolder a/b/c -> ok"}},
        Case{"OneTrailingSeparatorIgnored", "", "", "a/b/c/",
             {"CreateFolder a -> ok", "CreateFolder a/b -> ok", "CreateFolder a/b/c -> ok"}},
        Case{"TwoTrailingSeparatorsStillClimb", "", "", "a/b//",
             {"CreateFolder a -> ok", "CreateFolder a/b -> ok", "CreateFolder a/b/ -> failed"}},
        Case{"OnlyTheMissingLevel", "a", "", "a/b", {"CreateFolder a/b -> ok"}},
        Case{"ExistingFileFailsSilently", "", "f", "f", {"CreateFolder f -> failed"}},
        Case{"BelowAFileEveryLevelFails", "", "f", "f/g/h",
             {"CreateFolder f -> failed", "CreateFolder f/g -> failed", "CreateFolder f/g/h -> failed"}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Paths that the launcher never passes end without a fault; creation
// requests are answered by the double without touching the disk.
TEST(CreateFolderPathOddPathsTest, EndWithoutFault) {
  RecordingPlatform host;
  host.FailFrom(Op::CreateFolder, 1);
  host.FailFrom(Op::IsFolder, 1);

  platform::CreateFolderPath(host, "");
  platform::CreateFolderPath(host, "ab");
  platform::CreateFolderPath(host, Host("ab/"));
  EXPECT_THAT(host.Log(), IsEmpty());

  platform::CreateFolderPath(host, "abc");  // no separator: no parent to climb to
  EXPECT_THAT(host.Log({Op::CreateFolder}), ElementsAreArray({"CreateFolder abc -> failed"}));

  host.ClearLog();
  platform::CreateFolderPath(host, "abc:");  // its own parent on Windows: no climb
  platform::CreateFolderPath(host, "C:");
  EXPECT_THAT(host.Log({Op::CreateFolder}), ElementsAreArray({"CreateFolder abc: -> failed"}));
  if (platform::kColonEndsParent) {
    host.ClearLog();
    platform::CreateFolderPath(host, "C:\\");  // a drive root stops the climb
    platform::CreateFolderPath(host, "C:\\x");
    EXPECT_THAT(host.Log({Op::CreateFolder}), ElementsAreArray({"CreateFolder C:\\x -> failed"}));
  }
}

}  // namespace

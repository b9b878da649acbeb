// The launcher sequence on the recording double, with the real payload
// resources linked into this test and a test folder as the temporary
// directory: the order of the steps and rows, the paths it builds, the
// hand-over, and where a failure ends it.
#include "launcher/sequence.h"

#include <cstring>
#include <string>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "launcher/manifest.h"
#include "lzh/file_driver.h"
#include "path_separator.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_folder.h"

namespace {

using platform_testing::Op;
using platform_testing::RecordingPlatform;
using platform_testing::TestFolder;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr char S = platform::kPathSeparator;
const std::string kStaging = "Inst-Setup_Velmora9_Win64";

class SequenceTest : public ::testing::Test {
 protected:
  SequenceTest() {
    host.SetPathRoot(temp.path());
    host.SetTempPath(temp.path() + S);
  }

  // Runs the sequence; the failure's class and message, or "ok".
  std::string Run() {
    try {
      launcher::RunLauncher(host);
    } catch (const platform::Exception& failure) {
      return std::string(failure.ClassName()) + ": " + failure.Message();
    }
    return "ok";
  }

  std::vector<std::string> CreatesOfRows(std::size_t first, std::size_t last) const {
    std::vector<std::string> lines;
    for (std::size_t row = first; row <= last; ++row) {
      lines.push_back("Create " + kStaging + S + launcher::PayloadManifest[row - 1].FileName +
                      " -> ok");
    }
    return lines;
  }

  TestFolder temp;
  RecordingPlatform host;
};

TEST_F(SequenceTest, StagesEveryRowInManifestOrderThenHandsOver) {
  ASSERT_EQ(Run(), "ok");

  const std::vector<std::string> log = host.Log(
      {Op::InitializeApplication, Op::SetTitle, Op::GetTempPath, Op::CreateFolder,
       Op::OpenRead, Op::ShellExecute, Op::RunMessageLoop});
  EXPECT_THAT(log, ElementsAre("InitializeApplication", "SetTitle Setup_Velmora9_Win64",
                               "GetTempPath 255 -> " + std::to_string(temp.path().size() + 1),
                               "CreateFolder " + kStaging + " -> ok",
                               "OpenRead " + kStaging + S + "Setup.ex_ -> ok",
                               "ShellExecute open " + kStaging + S + "Setup.exe \"\" " +
                                   kStaging + " 5",
                               "RunMessageLoop"));
  std::vector<std::string> creates = CreatesOfRows(1, 33);
  creates.push_back("Create " + kStaging + S + "Setup.exe -> ok");
  EXPECT_THAT(host.Log({Op::Create}), ElementsAreArray(creates));
  // One write per non-empty resource, every file closed.
  int payload_writes = 0;
  for (const auto& call : host.calls()) {
    if (call.op == Op::Write && call.subject.find("Setup.exe") == std::string::npos) {
      ++payload_writes;
    }
  }
  EXPECT_EQ(payload_writes, 33);
  EXPECT_THAT(host.OpenFiles(), IsEmpty());
  EXPECT_EQ(host.HeldBlocks(), 0u);

  const std::string staging = temp / kStaging;
  EXPECT_EQ(launcher::StagingFolder, staging);
  EXPECT_EQ(lzh::InFileName, staging + S + "Setup.ex_");
  EXPECT_EQ(lzh::OutFileName, staging + S + "Setup.exe");
  EXPECT_EQ(launcher::SetupProgramPath, staging + S + "Setup.exe");
  // The demo next-stage program, expanded: a program file of this target.
  const std::string program = platform_testing::ReadWholeFile(staging + S + "Setup.exe");
  ASSERT_GT(program.size(), 4u);
  EXPECT_TRUE(program.compare(0, 2, "MZ") == 0 || program.compare(0, 4, "\x7f" "ELF") == 0);
}

TEST_F(SequenceTest, FailedExpansionStillHandsOver) {
  host.FailNth(Op::Create, 34);  // "Setup.exe"
  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(host.Count(Op::ShellExecute), 1);
  EXPECT_EQ(host.Count(Op::RunMessageLoop), 1);
  EXPECT_THAT(host.OpenFiles(), IsEmpty());
}

TEST_F(SequenceTest, ResourcesAreAskedForUnderTheirManifestNames) {
  ASSERT_EQ(Run(), "ok");
  std::vector<std::string> expected;
  for (int row = 1; row <= 33; ++row) {
    expected.push_back("FindResource FILE Test" + std::to_string(row));
  }
  std::vector<std::string> asked;
  for (const auto& call : host.calls()) {
    if (call.op == Op::FindResource) asked.push_back("FindResource " + call.subject);
  }
  EXPECT_EQ(asked, expected);
}

TEST_F(SequenceTest, MissingResourceEndsAfterTheRowsBeforeIt) {
  host.HideResource("Test17");
  EXPECT_EQ(Run(), "EResNotFound: Ressource Test17 nicht gefunden");
  EXPECT_THAT(host.Log({Op::Create}), ElementsAreArray(CreatesOfRows(1, 16)));
  EXPECT_EQ(host.Count(Op::ShellExecute), 0);
  EXPECT_EQ(host.Count(Op::RunMessageLoop), 0);
}

TEST_F(SequenceTest, ShortWriteEndsTheSequenceWithTheFileClosed) {
  host.FailNth(Op::Write, 4, 1);
  EXPECT_EQ(Run(), "EWriteError: Stream-Write-Fehler ");
  EXPECT_EQ(host.Count(Op::Create), 4);
  EXPECT_THAT(host.OpenFiles(), IsEmpty());
  EXPECT_EQ(host.Count(Op::ShellExecute), 0);
}

TEST_F(SequenceTest, NoTemporaryDirectoryEndsBeforeAnythingIsWritten) {
  host.FailNth(Op::GetTempPath, 1, 0);
  EXPECT_NE(Run(), "ok");
  EXPECT_EQ(host.Count(Op::CreateFolder), 0);
  EXPECT_EQ(host.Count(Op::IsFolder), 0);
  EXPECT_EQ(host.Count(Op::Create), 0);
  EXPECT_EQ(host.Count(Op::ShellExecute), 0);
}

TEST_F(SequenceTest, FolderThatCannotBeCreatedShowsAtTheFirstRow) {
  platform_testing::WriteWholeFile(temp / kStaging, "a file, not a folder");
  EXPECT_EQ(Run(), "EFCreateError: Kann Datei " + (temp / kStaging) + S + "Velmora.ex_" +
                       " nicht erstellen");
  EXPECT_THAT(host.Log({Op::CreateFolder}), ElementsAre("CreateFolder " + kStaging + " -> failed"));
}

TEST(PayloadManifestTest, RowsAreTest1ToTest33WithTwelveContainers) {
  int containers = 0;
  for (std::size_t row = 1; row <= launcher::kPayloadRowCount; ++row) {
    const launcher::PayloadRow& entry = launcher::PayloadManifest[row - 1];
    EXPECT_EQ(std::string(entry.ResourceName), "Test" + std::to_string(row));
    if (std::string(entry.FileName).back() == '_') ++containers;
  }
  EXPECT_EQ(containers, 12);
  EXPECT_STREQ(launcher::PayloadManifest[31].FileName, "Setup.ex_");
}

}  // namespace

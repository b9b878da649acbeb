// The launcher executables run as real processes with TMPDIR pointed at a
// fresh test folder: what lands in the staging folder, the report on
// standard error and the exit code.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <regex>
#include <string>

#include "gtest/gtest.h"
#include "launcher/manifest.h"
#include "tests/support/test_folder.h"

namespace {

namespace fs = std::filesystem;
using platform_testing::FileExists;
using platform_testing::ReadWholeFile;
using platform_testing::TestFolder;
using platform_testing::WriteWholeFile;

struct Outcome {
  int exit_code = -1;
  std::string error;  // standard error
  std::string output;
};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

class LauncherProcessTest : public ::testing::Test {
 protected:
  // The demo next stage runs on after the launcher: let it finish before the
  // test folder goes.
  void TearDown() override {
    const std::string setup = staging + "/Setup.exe";
    if (FileExists(setup) && ReadWholeFile(setup) == ReadWholeFile(SETUP_DEMO_EXE)) NextStageLog();
  }

  Outcome Run(const std::string& exe, const std::string& arguments = "") {
    const std::string command = "TMPDIR=" + Quoted(temp.path()) + " " + Quoted(exe) + " " +
                                arguments + " >" + Quoted(scratch / "out") + " 2>" +
                                Quoted(scratch / "err") + "; echo $? >" + Quoted(scratch / "rc");
    EXPECT_EQ(std::system(command.c_str()), 0);
    Outcome outcome;
    outcome.exit_code = std::stoi(ReadWholeFile(scratch / "rc"));
    outcome.error = ReadWholeFile(scratch / "err");
    outcome.output = ReadWholeFile(scratch / "out");
    return outcome;
  }

  std::string Staged(std::size_t row) const {
    return staging + "/" + launcher::PayloadManifest[row - 1].FileName;
  }
  // The bytes that the launcher carries for a row: containers as the build
  // staged them, other files as they lie in the payload folder.
  static std::string Payload(std::size_t row) {
    const std::string name = launcher::PayloadManifest[row - 1].FileName;
    const std::string dir = name.back() == '_' ? STAGED_PAYLOAD_DIR : PAYLOAD_DIR;
    return ReadWholeFile(dir + "/" + name);
  }

  // The log of the demo next-stage program, once it has finished writing it
  // (the launcher does not wait for it); empty after ten seconds.
  std::string NextStageLog() const {
    const std::string log = staging + "/SetupDemo.log";
    for (int i = 0; i < 200; ++i) {
      if (FileExists(log)) {
        const std::string text = ReadWholeFile(log);
        if (text.find("\nresult: ") != std::string::npos) return text;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
  }

  // Rows first..last are on disk with the payload's bytes.
  void ExpectRowsStaged(std::size_t first, std::size_t last) const {
    for (std::size_t row = first; row <= last; ++row) {
      EXPECT_EQ(ReadWholeFile(Staged(row)), Payload(row)) << "row " << row;
    }
  }
  void ExpectRowsAbsent(std::size_t first, std::size_t last) const {
    for (std::size_t row = first; row <= last; ++row) {
      EXPECT_FALSE(FileExists(Staged(row))) << "row " << row;
    }
  }

  TestFolder temp;
  TestFolder scratch;
  const std::string staging = temp.path() + "/Inst-Setup_Velmora9_Win64";
};

TEST_F(LauncherProcessTest, StagesThe33PayloadFilesInManifestOrder) {
  const Outcome outcome = Run(LAUNCHER_EXE);
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(outcome.error, "");
  EXPECT_EQ(outcome.output, "");

  ExpectRowsStaged(1, 33);
  ASSERT_NE(NextStageLog(), "");
  std::size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(staging)) {
    (void)entry;
    ++entries;
  }
  // The 33 payload files, "Setup.exe" and the next stage's log.
  EXPECT_EQ(entries, 35u);
  // Written one after another in table order.
  for (std::size_t row = 2; row <= 33; ++row) {
    EXPECT_LE(fs::last_write_time(Staged(row - 1)), fs::last_write_time(Staged(row))) << row;
  }
}

TEST_F(LauncherProcessTest, ExpandsSetupAndHandsOverToIt) {
  const Outcome outcome = Run(LAUNCHER_EXE);
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(ReadWholeFile(staging + "/Setup.exe"), ReadWholeFile(SETUP_DEMO_EXE));

  const std::string log = NextStageLog();
  ASSERT_NE(log, "") << "the next stage did not run";
  EXPECT_NE(log.find("\narguments: 0\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\nworking directory: " + fs::canonical(staging).string() + "\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("missing "), std::string::npos) << log;
  EXPECT_NE(log.find("\nresult: 33 of 33 listed files present\n"), std::string::npos) << log;
}

TEST_F(LauncherProcessTest, SetupThatIsNoContainerLeavesNoSetupExe) {
  const Outcome outcome = Run(LAUNCHER_PLAIN_SETUP_EXE);
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(outcome.error, "");
  EXPECT_TRUE(FileExists(staging + "/Setup.ex_"));
  EXPECT_FALSE(FileExists(staging + "/Setup.exe"));
}

TEST_F(LauncherProcessTest, EarlierSetupExeThatCannotBeReplacedIsOpened) {
  // A "Setup.exe" left read-only by an earlier run: the expansion cannot
  // replace it, and the shell opens it as it is.
  fs::create_directories(staging);
  const std::string earlier = staging + "/Setup.exe";
  WriteWholeFile(earlier, "#!/bin/sh\necho earlier > \"$PWD/earlier-ran\"\n");
  platform_testing::SetReadOnly(earlier, true);

  const Outcome outcome = Run(LAUNCHER_EXE);
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(outcome.error, "");
  bool ran = false;
  for (int i = 0; i < 200 && !ran; ++i) {
    ran = FileExists(staging + "/earlier-ran");
    if (!ran) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(ran);
  EXPECT_EQ(ReadWholeFile(staging + "/earlier-ran"), "earlier\n");
  EXPECT_FALSE(FileExists(staging + "/SetupDemo.log"));
}

TEST_F(LauncherProcessTest, SecondRunRewritesThePayloadAndLeavesOtherFiles) {
  ASSERT_EQ(Run(LAUNCHER_EXE).exit_code, 0);
  WriteWholeFile(Staged(4), "changed since the first run, and longer than before ......");
  WriteWholeFile(staging + "/notes.txt", "not ours");

  const Outcome outcome = Run(LAUNCHER_EXE);
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(outcome.error, "");
  ExpectRowsStaged(1, 33);
  EXPECT_EQ(ReadWholeFile(staging + "/notes.txt"), "not ours");
}

TEST_F(LauncherProcessTest, ArgumentsChangeNothing) {
  const Outcome outcome = Run(LAUNCHER_EXE, "/S --help -x 'Inst-Other' \"\"");
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(outcome.error, "");
  ExpectRowsStaged(1, 33);
  EXPECT_FALSE(FileExists(temp.path() + "/Inst-Other"));
}

TEST_F(LauncherProcessTest, MissingTest17EndsThroughTheReport) {
  const Outcome outcome = Run(LAUNCHER_WITHOUT_TEST17_EXE);
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_TRUE(std::regex_match(
      outcome.error,
      std::regex("Anwendungsfehler\n"
                 "Exception EResNotFound im Modul launcher_without_test17 bei [0-9A-F]{8}\\.\n"
                 "Ressource Test17 nicht gefunden\\.\n")))
      << outcome.error;
  ExpectRowsStaged(1, 16);
  ExpectRowsAbsent(17, 33);
}

TEST_F(LauncherProcessTest, ReadOnlyReadmeEndsAfterRowThree) {
  fs::create_directories(staging);
  WriteWholeFile(Staged(4), "an old read-only Readme");
  platform_testing::SetReadOnly(Staged(4), true);

  const Outcome outcome = Run(LAUNCHER_EXE);
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_NE(outcome.error.find("Exception EFCreateError im Modul Setup_Velmora9_Win64 bei "),
            std::string::npos)
      << outcome.error;
  EXPECT_NE(outcome.error.find("\nKann Datei " + Staged(4) + " nicht erstellen.\n"),
            std::string::npos)
      << outcome.error;
  ExpectRowsStaged(1, 3);
  EXPECT_EQ(ReadWholeFile(Staged(4)), "an old read-only Readme");
  ExpectRowsAbsent(5, 33);
}

TEST_F(LauncherProcessTest, FileInPlaceOfTheStagingFolderFailsAtRowOne) {
  WriteWholeFile(staging, "not a folder");
  const Outcome outcome = Run(LAUNCHER_EXE);
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_NE(outcome.error.find("\nKann Datei " + Staged(1) + " nicht erstellen.\n"),
            std::string::npos)
      << outcome.error;
  EXPECT_EQ(ReadWholeFile(staging), "not a folder");
}

}  // namespace

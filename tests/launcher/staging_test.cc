// The launcher's staging operations: the trailing-separator rule, the
// temporary directory (also when it is too long for the first request or
// not reported at all), and the writing of one resource to a file.
#include "launcher/staging.h"

#include <string>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "path_separator.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_folder.h"

namespace {

using platform_testing::Op;
using platform_testing::ReadWholeFile;
using platform_testing::RecordingPlatform;
using platform_testing::TestFolder;
using platform_testing::WriteWholeFile;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char S = platform::kPathSeparator;
// The character that is not this host's separator.
constexpr char kOther = S == '/' ? '\\' : '/';

// Paths in the tables: '|' stands for the host's separator, '~' for the other one.
std::string P(std::string text) {
  for (char& c : text) {
    if (c == '|') c = S;
    if (c == '~') c = kOther;
  }
  return text;
}

TEST(IncludeTrailingSeparatorTest, LooksAtTheLastByteOnly) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"C:|Temp", "C:|Temp|"},
      {"C:|Temp|", "C:|Temp|"},
      {"C:|Temp||", "C:|Temp||"},
      {"C:~Temp~", "C:~Temp~|"},  // the other slash is no separator
      {"x", "x|"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(launcher::IncludeTrailingSeparator(P(c.in)), P(c.out)) << c.in;
  }
}

TEST(GetTempFolderTest, ReturnsThePathAsReported) {
  RecordingPlatform host;
  host.SetTempPath(P("C:|Temp|"));
  EXPECT_EQ(launcher::GetTempFolder(host), P("C:|Temp|"));
  EXPECT_THAT(host.Log(), ElementsAre("GetTempPath 255 -> 8"));
}

TEST(GetTempFolderTest, AsksAgainWhenThePathDoesNotFit) {
  RecordingPlatform host;
  const std::string long_path = P("|") + std::string(300, 'd') + P("|");
  host.SetTempPath(long_path);
  EXPECT_EQ(launcher::GetTempFolder(host), long_path);
  EXPECT_THAT(host.Log(), ElementsAre("GetTempPath 255 -> 303", "GetTempPath 303 -> 302"));

  // 254 bytes and the zero fit exactly; 255 do not.
  host.SetTempPath(std::string(254, 'e'));
  EXPECT_EQ(launcher::GetTempFolder(host), std::string(254, 'e'));
  host.SetTempPath(std::string(255, 'f'));
  EXPECT_EQ(launcher::GetTempFolder(host), std::string(255, 'f'));
}

TEST(GetTempFolderTest, NoPathReportedIsAFailure) {
  RecordingPlatform host;
  host.FailNth(Op::GetTempPath, 1, 0);
  EXPECT_THROW(launcher::GetTempFolder(host), platform::Exception);

  // Too long at first, then not reported at all.
  RecordingPlatform again;
  again.SetTempPath(std::string(400, 'g'));
  again.FailNth(Op::GetTempPath, 2, 0);
  EXPECT_THROW(launcher::GetTempFolder(again), platform::Exception);
}

class ExtractResourceToFileTest : public ::testing::Test {
 protected:
  ExtractResourceToFileTest() {
    host.SetPathRoot(folder.path());
    host.AddResource("FILE", "PAYLOAD", "payload bytes");
    host.AddResource("FILE", "NOTHING", "");
  }

  // Runs the extraction and returns the failure's class and message, or "ok".
  std::string Extract(const char* name, const std::string& file) {
    try {
      launcher::ExtractResourceToFile(host, "FILE", name, folder / file);
    } catch (const platform::Exception& failure) {
      return std::string(failure.ClassName()) + ": " + failure.Message();
    }
    return "ok";
  }

  TestFolder folder;
  RecordingPlatform host;
};

TEST_F(ExtractResourceToFileTest, WritesTheResourceInOneWrite) {
  EXPECT_EQ(Extract("Payload", "out.bin"), "ok");
  EXPECT_EQ(ReadWholeFile(folder / "out.bin"), "payload bytes");
  EXPECT_THAT(host.Log(), ElementsAre("FindResource FILE Payload -> 13 bytes",
                                      "Create out.bin -> ok", "Write out.bin 13 -> 13",
                                      "Close out.bin"));
}

TEST_F(ExtractResourceToFileTest, ReplacesALongerFileEntirely) {
  WriteWholeFile(folder / "out.bin", std::string(1000, 'o'));
  EXPECT_EQ(Extract("PAYLOAD", "out.bin"), "ok");
  EXPECT_EQ(ReadWholeFile(folder / "out.bin"), "payload bytes");
}

TEST_F(ExtractResourceToFileTest, MissingResourceLeavesTheFileUntouched) {
  WriteWholeFile(folder / "out.bin", "old content");
  host.HideResource("TEST5");  // this program carries the real payload
  EXPECT_EQ(Extract("Test5", "out.bin"), "EResNotFound: Ressource Test5 nicht gefunden");
  EXPECT_EQ(ReadWholeFile(folder / "out.bin"), "old content");
  EXPECT_EQ(host.Count(Op::Create), 0);
}

TEST_F(ExtractResourceToFileTest, ZeroSizeResourceGivesAnEmptyFileWithoutAWrite) {
  WriteWholeFile(folder / "out.bin", "old content");
  EXPECT_EQ(Extract("nothing", "out.bin"), "ok");
  EXPECT_EQ(ReadWholeFile(folder / "out.bin"), "");
  EXPECT_EQ(host.Count(Op::Write), 0);
  EXPECT_THAT(host.OpenFiles(), IsEmpty());
}

TEST_F(ExtractResourceToFileTest, ReadOnlyTargetFailsWithItsFullPath) {
  WriteWholeFile(folder / "Readme.txt", "read only");
  platform_testing::SetReadOnly(folder / "Readme.txt", true);
  EXPECT_EQ(Extract("PAYLOAD", "Readme.txt"),
            "EFCreateError: Kann Datei " + (folder / "Readme.txt") + " nicht erstellen");
  EXPECT_EQ(ReadWholeFile(folder / "Readme.txt"), "read only");
  EXPECT_EQ(host.Count(Op::Write), 0);
}

TEST_F(ExtractResourceToFileTest, ShortOrFailedWriteKeepsThePartialFileClosed) {
  host.FailNth(Op::Write, 1, 7);
  EXPECT_EQ(Extract("PAYLOAD", "short.bin"), "EWriteError: Stream-Write-Fehler ");
  EXPECT_EQ(ReadWholeFile(folder / "short.bin"), "payload");

  host.FailNth(Op::Write, 2, -1);
  EXPECT_EQ(Extract("PAYLOAD", "failed.bin"), "EWriteError: Stream-Write-Fehler ");
  EXPECT_TRUE(platform_testing::FileExists(folder / "failed.bin"));

  EXPECT_THAT(host.OpenFiles(), IsEmpty());
  EXPECT_THAT(host.Log({Op::Write, Op::Close}),
              ElementsAre("Write short.bin 13 -> 7", "Close short.bin",
                          "Write failed.bin 13 -> -1", "Close failed.bin"));
}

}  // namespace

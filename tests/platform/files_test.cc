// The host's files, folders, temporary directory and memory: replacement of
// an existing file, read-only files, no sharing between openers, counts of
// reads and writes, and the temporary-directory call's size contract.
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "path_separator.h"
#include "platform/platform.h"
#include "tests/support/test_folder.h"

namespace {

using platform_testing::ReadWholeFile;
using platform_testing::TestFolder;
using platform_testing::WriteWholeFile;

class FilesTest : public ::testing::Test {
 protected:
  platform::Platform& host = *platform::Platform::Default();
  TestFolder folder;
};

TEST_F(FilesTest, CreateReplacesALongerFile) {
  const std::string path = folder / "file.bin";
  WriteWholeFile(path, std::string(100, 'o'));
  const platform::FileHandle file = host.Create(path);
  ASSERT_GT(file, 0);
  EXPECT_EQ(host.Write(file, "new", 3), 3);
  host.Close(file);
  EXPECT_EQ(ReadWholeFile(path), "new");
}

TEST_F(FilesTest, CreateRefusesAReadOnlyFileAndLeavesIt) {
  const std::string path = folder / "read-only.txt";
  WriteWholeFile(path, "keep me");
  platform_testing::SetReadOnly(path, true);
  EXPECT_LT(host.Create(path), 0);
  EXPECT_EQ(ReadWholeFile(path), "keep me");
  // Reading it is fine.
  const platform::FileHandle file = host.OpenRead(path);
  EXPECT_GT(file, 0);
  host.Close(file);
}

TEST_F(FilesTest, NoSharingWhileAFileIsOpen) {
  const std::string path = folder / "busy.bin";
  WriteWholeFile(path, "in use");

  const platform::FileHandle reader = host.OpenRead(path);
  ASSERT_GT(reader, 0);
  EXPECT_LT(host.Create(path), 0);    // would cut the file that is being read
  EXPECT_LT(host.OpenRead(path), 0);
  host.Close(reader);
  EXPECT_EQ(ReadWholeFile(path), "in use");

  const platform::FileHandle writer = host.Create(path);
  ASSERT_GT(writer, 0);
  EXPECT_LT(host.Create(path), 0);
  EXPECT_LT(host.OpenRead(path), 0);
  host.Close(writer);

  // Closed: free again.
  const platform::FileHandle again = host.OpenRead(path);
  EXPECT_GT(again, 0);
  host.Close(again);
}

TEST_F(FilesTest, OpenFailuresGiveNegativeHandles) {
  EXPECT_LT(host.OpenRead(folder / "missing"), 0);
  EXPECT_LT(host.Create(folder / "no-folder" + platform::kPathSeparator + "file"), 0);
  EXPECT_LT(host.Create(folder.path()), 0);  // a folder
}

TEST_F(FilesTest, ReadAndWriteReportCounts) {
  const std::string path = folder / "counts.bin";
  const platform::FileHandle out = host.Create(path);
  ASSERT_GT(out, 0);
  EXPECT_EQ(host.Write(out, "0123456789", 10), 10);
  EXPECT_EQ(host.Write(out, "", 0), 0);
  host.Flush(out);
  host.Close(out);

  const platform::FileHandle in = host.OpenRead(path);
  ASSERT_GT(in, 0);
  char buffer[8];
  EXPECT_EQ(host.Read(in, buffer, 8), 8);
  EXPECT_EQ(std::string(buffer, 8), "01234567");
  EXPECT_EQ(host.Read(in, buffer, 8), 2);
  EXPECT_EQ(host.Read(in, buffer, 8), 0);  // end of file
  EXPECT_EQ(host.Read(in, buffer, 8), 0);
  EXPECT_EQ(host.Write(in, "x", 1), -1);   // opened for reading only
  host.Close(in);
  EXPECT_EQ(ReadWholeFile(path), "0123456789");

  EXPECT_EQ(host.Read(-1, buffer, 1), -1);
  EXPECT_EQ(host.Write(-1, "x", 1), -1);
}

TEST_F(FilesTest, DeleteFileRemovesIt) {
  const std::string path = folder / "gone.bin";
  WriteWholeFile(path, "x");
  host.DeleteFile(path);
  EXPECT_FALSE(platform_testing::FileExists(path));
  host.DeleteFile(path);  // missing: nothing reported
}

TEST_F(FilesTest, FoldersAreTestedAndCreated) {
  const std::string sub = folder / "sub";
  EXPECT_TRUE(host.IsFolder(folder.path()));
  EXPECT_FALSE(host.IsFolder(sub));
  EXPECT_TRUE(host.CreateFolder(sub));
  EXPECT_TRUE(host.IsFolder(sub));
  EXPECT_FALSE(host.CreateFolder(sub));
  WriteWholeFile(folder / "file", "x");
  EXPECT_FALSE(host.IsFolder(folder / "file"));
}

TEST(TempPathTest, FollowsTheSizeContract) {
  platform::Platform& host = *platform::Platform::Default();
  char tiny[2] = {'?', '?'};
  const std::uint32_t needed = host.GetTempPath(sizeof tiny, tiny);
  ASSERT_GT(needed, 2u);
  std::vector<char> buffer(needed, '?');
  const std::uint32_t length = host.GetTempPath(needed, buffer.data());
  EXPECT_EQ(length, needed - 1);
  const std::string path(buffer.data());
  EXPECT_EQ(path.size(), length);
  EXPECT_EQ(path.back(), platform::kPathSeparator);
}

TEST(MemoryTest, ZeroBytesGiveNullAndNullFreesNothing) {
  platform::Platform& host = *platform::Platform::Default();
  EXPECT_EQ(host.GetMemory(0), nullptr);
  host.FreeMemory(nullptr);
  auto* block = static_cast<char*>(host.GetMemory(32784));
  ASSERT_NE(block, nullptr);
  block[0] = 1;
  block[32783] = 2;
  host.FreeMemory(block);
}

}  // namespace

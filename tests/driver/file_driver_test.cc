// The file decompression driver: what every failure leaves behind (files,
// handles, buffers), the pattern of reads and writes, and the edge cases of
// the header and the stream. Files are real; the platform double records the
// calls and makes chosen ones fail.
#include "lzh/file_driver.h"

#include <cstring>
#include <string>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "lzh/container.h"
#include "lzh/container_writer.h"
#include "lzh/dictionary_tables.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_folder.h"

namespace {

using platform_testing::FileExists;
using platform_testing::Op;
using platform_testing::ReadWholeFile;
using platform_testing::RecordingPlatform;
using platform_testing::TestFolder;
using platform_testing::WriteWholeFile;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

std::string Pseudorandom(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 23);
  }
  return bytes;
}

std::string Compress(const std::string& data) {
  const auto container = lzh::WriteContainer(reinterpret_cast<const std::uint8_t*>(data.data()),
                                             data.size());
  return std::string(container.begin(), container.end());
}

std::string Header(std::uint32_t magic, std::int32_t declared) {
  std::uint8_t bytes[8];
  lzh::PutLittleEndian32(magic, bytes);
  lzh::PutLittleEndian32(static_cast<std::uint32_t>(declared), bytes + 4);
  return std::string(reinterpret_cast<char*>(bytes), 8);
}

class FileDriverTest : public ::testing::Test {
 protected:
  FileDriverTest() {
    host_.SetPathRoot(folder_.path());
    lzh::SetDriverPlatform(&host_);
    lzh::InFileName = in_;
    lzh::OutFileName = out_;
  }
  ~FileDriverTest() override { lzh::SetDriverPlatform(nullptr); }

  // Runs ExpandContainer and returns "<class>: <message>" of its failure, or "".
  std::string Failure() {
    try {
      EXPECT_EQ(lzh::ExpandContainer(), 1);
      return "";
    } catch (const platform::Exception& failure) {
      return std::string(failure.ClassName()) + ": " + failure.Message();
    }
  }

  void ExpectNothingHeld() {
    EXPECT_THAT(host_.OpenFiles(), IsEmpty());
    EXPECT_EQ(host_.HeldBlocks(), 0u);
    EXPECT_EQ(host_.UnknownFrees(), 0);
  }

  TestFolder folder_;
  RecordingPlatform host_;
  const std::string in_ = folder_ / "Setup.ex_";
  const std::string out_ = folder_ / "Setup.exe";
};

// ---------------------------------------------------------------- failures

enum class Input { Missing, Bytes };
enum class OutputAfter { Untouched, Absent };

struct FailureCase {
  const char* name;
  Input input;
  std::string bytes;       // the input file, when there is one
  Op fault_op;             // the operation made to fail ...
  int fault_nth;           // ... on its nth call (0: none)
  std::int64_t fault_result;
  std::string expected;    // "<class>: <message>" with IN / OUT for the paths
  OutputAfter output;      // what becomes of an existing output file
};

const std::string kSmallContainer = Compress(Pseudorandom(100000, 7));

std::vector<FailureCase> FailureCases() {
  const std::string magic = Header(lzh::ContainerMagic, 5).substr(0, 4);
  return {
      {"FirstBufferMissing", Input::Bytes, kSmallContainer, Op::GetMemory, 1, 0,
       "ELzrw1Exception: Lzrw1 : no memory for I/O Buffers !!", OutputAfter::Untouched},
      {"SecondBufferMissing", Input::Bytes, kSmallContainer, Op::GetMemory, 2, 0,
       "ELzrw1Exception: Lzrw1 : no memory for I/O Buffers !!", OutputAfter::Untouched},
      {"InputMissing", Input::Missing, "", Op::GetMemory, 0, 0,
       "ELzrw1Exception: Lzrw1 : Inputfile IN not found !", OutputAfter::Untouched},
      {"InputCannotBeOpened", Input::Bytes, kSmallContainer, Op::OpenRead, 1, -1,
       "ELzrw1Exception: Lzrw1 : Inputfile IN not found !", OutputAfter::Untouched},
      {"OutputCannotBeCreated", Input::Bytes, kSmallContainer, Op::Create, 1, -1,
       "ELzrw1Exception: Lzrw1 : Outputfile OUT can not be opened !", OutputAfter::Untouched},
      {"EmptyInput", Input::Bytes, "", Op::GetMemory, 0, 0,
       "ELzrw1Exception: Lzrw1 : ERROR READING FROM IN !", OutputAfter::Absent},
      {"TwoByteInput", Input::Bytes, "!H", Op::GetMemory, 0, 0,
       "ELzrw1Exception: Lzrw1 : ERROR READING FROM IN !", OutputAfter::Absent},
      {"MagicWithoutSize", Input::Bytes, magic + "\x05\x00", Op::GetMemory, 0, 0,
       "ELzrw1Exception: Lzrw1 : ERROR READING FROM IN !", OutputAfter::Absent},
      {"MagicReversed", Input::Bytes, "LZH!" + std::string(20, '\0'), Op::GetMemory, 0, 0,
       "ELzrw1Exception: Lzrw1 : IN : NOT A COMPRESSED FILE !", OutputAfter::Absent},
      {"ZipArchive", Input::Bytes, std::string("PK\x03\x04", 4) + std::string(40, 'z'),
       Op::GetMemory, 0, 0, "ELzrw1Exception: Lzrw1 : IN : NOT A COMPRESSED FILE !",
       OutputAfter::Absent},
      {"MagicReadFails", Input::Bytes, kSmallContainer, Op::Read, 1, -1,
       "ELzrw1Exception: Lzrw1 : ERROR READING FROM IN !", OutputAfter::Absent},
      {"SizeReadShort", Input::Bytes, kSmallContainer, Op::Read, 2, 3,
       "ELzrw1Exception: Lzrw1 : ERROR READING FROM IN !", OutputAfter::Absent},
      {"FirstFillFails", Input::Bytes, kSmallContainer, Op::Read, 3, -1,
       "ELzrw1Exception: Lzrw1/LZH : READ ERROR ON IN !", OutputAfter::Absent},
      {"LaterFillFails", Input::Bytes, kSmallContainer, Op::Read, 5, -1,
       "ELzrw1Exception: Lzrw1/LZH : READ ERROR ON IN !", OutputAfter::Absent},
      {"BufferWriteShort", Input::Bytes, kSmallContainer, Op::Write, 1, 1000,
       "ELzrw1Exception: Lzrw1 : ERROR WRITING TO OUT !", OutputAfter::Absent},
      {"FinalFlushFails", Input::Bytes, kSmallContainer, Op::Write, 4, -1,
       "ELzrw1Exception: Lzrw1 : ERROR WRITING TO OUT !", OutputAfter::Absent},
  };
}

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FileDriverFailureTest : public FileDriverTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FileDriverFailureTest, RaisesItsMessageAndCleansUp) {
  const FailureCase& c = GetParam();
  if (c.input == Input::Bytes) WriteWholeFile(in_, c.bytes);
  WriteWholeFile(out_, "an earlier Setup.exe");
  if (c.fault_nth > 0) host_.FailNth(c.fault_op, c.fault_nth, c.fault_result);

  std::string expected = c.expected;
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"IN", in_}, {"OUT", out_}}) {
    const auto at = expected.find(" " + from + " ");
    if (at != std::string::npos) expected.replace(at + 1, from.size(), to);
  }
  EXPECT_EQ(Failure(), expected);

  if (c.output == OutputAfter::Untouched) {
    EXPECT_EQ(ReadWholeFile(out_), "an earlier Setup.exe");
  } else {
    EXPECT_FALSE(FileExists(out_));
  }
  if (c.input == Input::Bytes) {
    EXPECT_EQ(ReadWholeFile(in_), c.bytes);
  }
  ExpectNothingHeld();

  // DecompressFile swallows the same failure and reports -1.
  RecordingPlatform again;
  lzh::SetDriverPlatform(&again);
  if (c.fault_nth > 0) again.FailNth(c.fault_op, c.fault_nth, c.fault_result);
  EXPECT_EQ(lzh::DecompressFile(), -1);
  EXPECT_THAT(again.OpenFiles(), IsEmpty());
  EXPECT_EQ(again.HeldBlocks(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, FileDriverFailureTest, ::testing::ValuesIn(FailureCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A failure of the decoder's own (its tables) travels out unchanged and
// takes the half-written output with it.
class NoTableMemory : public lzh::TableMemory {
 public:
  void* Get(std::size_t) override { return nullptr; }
  bool Free(void*) override { return true; }
};

TEST_F(FileDriverTest, DecoderFailureRemovesTheOutput) {
  WriteWholeFile(in_, kSmallContainer);
  NoTableMemory memory;
  lzh::ScopedTableMemory scoped(memory);
  EXPECT_EQ(Failure(), "ElzhException: LZH : Cannot get memory for dictionary tables");
  EXPECT_FALSE(FileExists(out_));
  ExpectNothingHeld();
}

TEST_F(FileDriverTest, CleanUpsRunInRegionOrder) {
  WriteWholeFile(in_, std::string("not a container"));
  EXPECT_NE(Failure(), "");
  EXPECT_THAT(host_.Log({Op::GetMemory, Op::FreeMemory, Op::OpenRead, Op::Create, Op::Flush,
                         Op::Close, Op::DeleteFile}),
              ElementsAre("GetMemory 32784 -> #1", "GetMemory 32784 -> #2",
                          "OpenRead Setup.ex_ -> ok", "Create Setup.exe -> ok",
                          // the output guard: closed unflushed, deleted
                          "Close Setup.exe", "DeleteFile Setup.exe",
                          // the handle region: the input only
                          "Flush Setup.ex_", "Close Setup.ex_",
                          // the buffer region
                          "FreeMemory #1", "FreeMemory #2"));
}

TEST_F(FileDriverTest, SameFileAsInputAndOutputIsRefused) {
  WriteWholeFile(in_, kSmallContainer);
  lzh::OutFileName = in_;
  EXPECT_EQ(Failure(), "ELzrw1Exception: Lzrw1 : Outputfile " + in_ + " can not be opened !");
  EXPECT_EQ(ReadWholeFile(in_), kSmallContainer);
  ExpectNothingHeld();
}

// ---------------------------------------------------------------- success

TEST_F(FileDriverTest, FileOperationsInOrder) {
  const std::string data = Pseudorandom(40000, 3);
  const std::string container = Compress(data);
  ASSERT_GT(container.size(), 32768u + 8);
  WriteWholeFile(in_, container);

  EXPECT_EQ(lzh::DecompressFile(), 1);
  EXPECT_EQ(ReadWholeFile(out_), data);
  const std::string rest = std::to_string(container.size() - 8 - 32768);
  EXPECT_THAT(host_.Log({Op::OpenRead, Op::Create, Op::Read, Op::Write, Op::Flush, Op::Close,
                         Op::DeleteFile}),
              ElementsAre("OpenRead Setup.ex_ -> ok", "Create Setup.exe -> ok",
                          "Read Setup.ex_ 4 -> 4", "Read Setup.ex_ 4 -> 4",
                          "Read Setup.ex_ 32768 -> 32768", "Read Setup.ex_ 32768 -> " + rest,
                          "Write Setup.exe 32768 -> 32768",
                          // the decoder's read-ahead finds the end once
                          "Read Setup.ex_ 32768 -> 0", "Write Setup.exe 7232 -> 7232",
                          "Flush Setup.ex_", "Close Setup.ex_", "Flush Setup.exe",
                          "Close Setup.exe"));
  ExpectNothingHeld();
}

TEST_F(FileDriverTest, OutputIsWrittenInFullBuffersThenTheRest) {
  const struct {
    std::size_t size;
    std::vector<std::int64_t> writes;
  } cases[] = {
      {0, {0}},
      {1, {1}},
      {32767, {32767}},
      {32768, {32768}},
      {32769, {32768, 1}},
      {65536, {32768, 32768}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const std::string data = Pseudorandom(c.size, static_cast<std::uint32_t>(c.size));
    WriteWholeFile(in_, Compress(data));
    host_.ClearLog();
    ASSERT_EQ(lzh::DecompressFile(), 1);
    EXPECT_EQ(ReadWholeFile(out_), data);
    std::vector<std::int64_t> writes;
    for (const auto& call : host_.calls()) {
      if (call.op == Op::Write) writes.push_back(call.count);
    }
    EXPECT_EQ(writes, c.writes);
  }
}

TEST_F(FileDriverTest, ExistingOutputIsReplaced) {
  WriteWholeFile(out_, std::string(200000, 'x'));
  WriteWholeFile(in_, Compress("short"));
  EXPECT_EQ(lzh::DecompressFile(), 1);
  EXPECT_EQ(ReadWholeFile(out_), "short");
}

TEST_F(FileDriverTest, DeclaredSizeZeroOrNegativeGivesAnEmptyOutput) {
  for (const std::int32_t declared : {0, -1, INT32_MIN}) {
    SCOPED_TRACE(declared);
    WriteWholeFile(in_, Header(lzh::ContainerMagic, declared) + "\xff\xff\xff");
    host_.ClearLog();
    EXPECT_EQ(lzh::DecompressFile(), 1);
    EXPECT_TRUE(FileExists(out_));
    EXPECT_EQ(ReadWholeFile(out_), "");
    // The stream is never read; the final flush writes nothing.
    EXPECT_THAT(host_.Log({Op::Read, Op::Write}),
                ElementsAre("Read Setup.ex_ 4 -> 4", "Read Setup.ex_ 4 -> 4",
                            "Write Setup.exe 0 -> 0"));
  }
}

TEST_F(FileDriverTest, StreamCutShortStillSucceedsWithTheDeclaredSize) {
  const std::string data = Pseudorandom(20000, 11);
  const std::string container = Compress(data);
  const std::string cut = container.substr(0, container.size() / 2);
  WriteWholeFile(in_, cut);
  EXPECT_EQ(lzh::DecompressFile(), 1);
  const std::string out = ReadWholeFile(out_);
  EXPECT_GE(out.size(), data.size());
  // The bytes decoded from the part that is there agree with the original.
  const std::size_t sure = (cut.size() - 8) / 2;
  EXPECT_EQ(out.substr(0, sure), data.substr(0, sure));
  EXPECT_EQ(ReadWholeFile(in_), cut);
}

TEST_F(FileDriverTest, HeaderOnlyContainerDecodesZeroBits) {
  WriteWholeFile(in_, Header(lzh::ContainerMagic, 100));
  EXPECT_EQ(lzh::DecompressFile(), 1);
  EXPECT_EQ(ReadWholeFile(out_), std::string(120, 't'));
}

TEST_F(FileDriverTest, BytesAfterTheStreamChangeNothing) {
  const std::string data = Pseudorandom(5000, 5);
  WriteWholeFile(in_, Compress(data) + std::string(100, '\x5a'));
  EXPECT_EQ(lzh::DecompressFile(), 1);
  EXPECT_EQ(ReadWholeFile(out_), data);
}

TEST_F(FileDriverTest, SecondRunStartsAfresh) {
  WriteWholeFile(in_, "garbage that is no container");
  EXPECT_EQ(lzh::DecompressFile(), -1);
  const std::string data = Pseudorandom(70000, 9);
  WriteWholeFile(in_, Compress(data));
  EXPECT_EQ(lzh::DecompressFile(), 1);
  EXPECT_EQ(ReadWholeFile(out_), data);
  ExpectNothingHeld();
}

// ---------------------------------------------------------------- procedures

TEST_F(FileDriverTest, BufferedReadServesLargerCountsInFileOrder) {
  const std::string bytes = Pseudorandom(70000, 13);
  WriteWholeFile(in_, bytes);
  std::vector<std::uint8_t> in_buffer(lzh::IoBufferSize);
  lzh::InBuffer = in_buffer.data();
  lzh::InHandle = host_.OpenRead(in_);
  lzh::InBufPos = 1;
  lzh::InBufFill = 0;

  std::string got;
  std::uint8_t chunk[40000];
  std::uint16_t delivered = 0;
  lzh::BufferedRead(chunk, 1, delivered);
  got.append(reinterpret_cast<char*>(chunk), delivered);
  lzh::BufferedRead(chunk, 40000, delivered);  // crosses a refill
  EXPECT_EQ(delivered, 40000);
  got.append(reinterpret_cast<char*>(chunk), delivered);
  lzh::BufferedRead(chunk, 40000, delivered);  // runs into the end
  EXPECT_EQ(delivered, 70000 - 40001);
  got.append(reinterpret_cast<char*>(chunk), delivered);
  lzh::BufferedRead(chunk, 1, delivered);
  EXPECT_EQ(delivered, 0);
  EXPECT_EQ(got, bytes);
  host_.Close(lzh::InHandle);
  lzh::InBuffer = nullptr;
}

}  // namespace

namespace {

// Counts above one buffer go straight to the file after what is pending, in
// order, instead of running past the end of the buffer.
TEST_F(FileDriverTest, BufferedWriteTakesCountsLargerThanTheBuffer) {
  std::vector<std::uint8_t> out_buffer(lzh::IoBufferSize);
  lzh::OutBuffer = out_buffer.data();
  lzh::OutHandle = host_.Create(out_);
  lzh::OutBufPos = 1;

  const std::string head = "head";
  const std::string big = Pseudorandom(40000, 17);
  std::uint16_t accepted = 0;
  lzh::BufferedWrite(reinterpret_cast<const std::uint8_t*>(head.data()), 4, accepted);
  EXPECT_EQ(accepted, 4);
  lzh::BufferedWrite(reinterpret_cast<const std::uint8_t*>(big.data()), 40000, accepted);
  EXPECT_EQ(accepted, 40000);
  lzh::BufferedWrite(reinterpret_cast<const std::uint8_t*>("t"), 1, accepted);
  lzh::BufferedWrite(nullptr, 0, accepted);  // flush
  host_.Close(lzh::OutHandle);
  lzh::OutBuffer = nullptr;

  EXPECT_EQ(ReadWholeFile(out_), head + big + "t");
  EXPECT_THAT(host_.Log({Op::Write}),
              ElementsAre("Write Setup.exe 4 -> 4", "Write Setup.exe 40000 -> 40000",
                          "Write Setup.exe 1 -> 1"));
}

}  // namespace

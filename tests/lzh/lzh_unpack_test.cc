// The window decoder end to end: the known byte streams with their read
// counts, counts of zero and below, far and overlapping matches, input after
// the end of a stream, and round trips of streams built by the test coder,
// through both the plain procedures and inline functors.
#include "lzh/lzh_unpack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/lzh/byte_procs.h"
#include "tests/lzh/test_stream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using lzh_test::Procs;
using lzh_test::ResetProcs;

// Decodes through the plain procedures; the log stays in Procs().
Bytes Unpack(const Bytes& stream, std::int32_t count) {
  ResetProcs(stream);
  lzh::LzhUnpack(count, lzh_test::ReadByte, lzh_test::WriteByte);
  return Procs().output;
}

// Functors over memory, the way a buffered driver plugs in.
struct MemoryReader {
  const Bytes* input;
  std::size_t position = 0;
  int calls = 0;
  void operator()(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
    ++calls;
    if (count == 1 && position < input->size()) {
      *buffer = (*input)[position++];
      delivered = 1;
    } else {
      delivered = 0;
    }
  }
};
struct MemoryWriter {
  Bytes output;
  void operator()(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
    output.insert(output.end(), buffer, buffer + count);
    accepted = count;
  }
};

struct StreamCase {
  const char* name;
  Bytes stream;
  std::int32_t count;
  Bytes expected;
  int reads;        // calls of read in all
  int empty_reads;  // of them, calls that delivered nothing
};

TEST(LzhUnpack, KnownStreams) {
  const StreamCase cases[] = {
      {"three literals", {0xf6, 0xfb, 0xbd, 0xe0}, 3, {0x61, 0x62, 0x63}, 5, 1},
      {"literal then overlapping match", {0xf6, 0xc8, 0x00, 0x00}, 8, Bytes(8, 0x61), 5, 1},
      {"first match copies the initial spaces", {0x8c, 0x00, 0x00}, 3, Bytes(3, 0x20), 4, 1},
      {"match written whole past count", {0x04, 0x04, 0x00, 0x00}, 5, Bytes(61, 0x78), 5, 1},
      {"empty input decodes zero bits", {}, 8, Bytes(61, 0x74), 5, 5},
  };
  for (const StreamCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Unpack(c.stream, c.count), c.expected);
    EXPECT_EQ(Procs().read_calls, c.reads);
    EXPECT_EQ(Procs().empty_reads, c.empty_reads);
    EXPECT_EQ(Procs().write_calls, static_cast<int>(c.expected.size()));
    EXPECT_TRUE(Procs().counts_were_one);

    // The inline-functor path behaves identically.
    MemoryReader reader{&c.stream};
    MemoryWriter writer;
    lzh::LzhUnpackWith(c.count, reader, writer);
    EXPECT_EQ(writer.output, c.expected);
    EXPECT_EQ(reader.calls, c.reads);
  }
}

TEST(LzhUnpack, StopsReadingOnceCountIsReached) {
  // Bytes after the stream: only the one the reader fetched ahead is taken.
  Bytes stream = {0xf6, 0xfb, 0xbd, 0xe0, 0x11, 0x22, 0x33};
  EXPECT_EQ(Unpack(stream, 3), (Bytes{0x61, 0x62, 0x63}));
  EXPECT_EQ(Procs().read_calls, 5);
  EXPECT_EQ(Procs().position, 5u);
  EXPECT_EQ(Procs().empty_reads, 0);
}

TEST(LzhUnpack, CountZeroOrBelowTouchesNeitherProcedure) {
  for (std::int32_t count : {0, -1, -61, INT_MIN}) {
    SCOPED_TRACE(count);
    EXPECT_TRUE(Unpack({0xf6, 0xfb, 0xbd, 0xe0}, count).empty());
    EXPECT_EQ(Procs().read_calls, 0);
    EXPECT_EQ(Procs().write_calls, 0);
  }
}

TEST(LzhUnpack, ShortInputStillProducesCount) {
  // The first literal's bits only; the rest decodes from zero bits.
  const Bytes out = Unpack({0xf6}, 100);
  ASSERT_GE(out.size(), 100u);
  EXPECT_LE(out.size(), 159u);
  EXPECT_EQ(Procs().position, 1u);
}

TEST(LzhUnpack, MatchAtOffset4095ReachesBack4096Bytes) {
  std::mt19937 random(7);
  Bytes expected;
  lzh_test::StreamBuilder builder;
  for (int i = 0; i < 5000; ++i) {
    const auto byte = static_cast<std::uint8_t>(random());
    builder.Literal(byte);
    expected.push_back(byte);
  }
  // Offset 4095 starts at the byte written 4096 positions earlier; then a
  // match at offset 1 alternates the last two bytes; then offset 0 repeats.
  builder.Match(60, 4095);
  for (int t = 0; t < 60; ++t) expected.push_back(expected[expected.size() - 4096]);
  builder.Match(7, 1);
  for (int t = 0; t < 7; ++t) expected.push_back(expected[expected.size() - 2]);
  builder.Match(3, 0);
  for (int t = 0; t < 3; ++t) expected.push_back(expected.back());
  const Bytes stream = builder.Bytes();
  EXPECT_EQ(Unpack(stream, static_cast<std::int32_t>(expected.size())), expected);
  EXPECT_EQ(Procs().position, stream.size());
  EXPECT_LE(Procs().empty_reads, 1);
}

TEST(LzhUnpack, NeverWrittenWindowPositionsReadAsSpaces) {
  // A damaged stream may refer to the 60 positions from 4036 up before
  // anything was written there; it reads fixed values (spaces), not
  // whatever the memory held. The tables come poisoned here.
  struct PoisonedMemory : lzh::TableMemory {
    void* Get(std::size_t bytes) override { return std::memset(std::malloc(bytes), 0xEE, bytes); }
    bool Free(void* block) override {
      std::free(block);
      return true;
    }
  } memory;
  lzh::ScopedTableMemory use(memory);
  for (int offset : {4095, 4094, 4060, 4040}) {
    lzh_test::StreamBuilder builder;
    builder.Match(60, offset);
    EXPECT_EQ(Unpack(builder.Bytes(), 60), Bytes(60, 0x20)) << offset;
  }
}

TEST(LzhUnpack, MatchesAcrossTheWindowEnd) {
  // Every source and target position relative to the window's wrap point:
  // the write position starts at 4036, so after k literals it is 4036 + k.
  for (int lead = 0; lead < 130; lead += 3) {
    for (int offset : {0, 1, 2, 30, 59, 61, 200}) {
      if (offset >= lead) continue;
      lzh_test::StreamBuilder builder;
      Bytes expected;
      for (int i = 0; i < lead; ++i) {
        const auto byte = static_cast<std::uint8_t>(i * 37 + 11);
        builder.Literal(byte);
        expected.push_back(byte);
      }
      builder.Match(60, offset);
      for (int t = 0; t < 60; ++t) expected.push_back(expected[expected.size() - offset - 1]);
      SCOPED_TRACE("lead " + std::to_string(lead) + " offset " + std::to_string(offset));
      ASSERT_EQ(Unpack(builder.Bytes(), static_cast<std::int32_t>(expected.size())), expected);
    }
  }
}

Bytes RandomBytes(std::size_t size, unsigned seed, int alphabet) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random() % static_cast<unsigned>(alphabet));
  return bytes;
}

Bytes Text(std::size_t size) {
  static const char* const words[] = {"the ", "window ", "decoder ", "reads ", "one ",
                                      "byte ", "ahead", ", ", ".\n", "Huffman "};
  std::mt19937 random(3);
  Bytes bytes;
  while (bytes.size() < size) {
    const std::string w = words[random() % 10];
    bytes.insert(bytes.end(), w.begin(), w.end());
  }
  bytes.resize(size);
  return bytes;
}

TEST(LzhUnpack, RoundTripsOfTheTestCoder) {
  struct Case {
    const char* name;
    Bytes input;
  };
  const Case cases[] = {
      {"one byte", {0x5a}},
      {"run", Bytes(10000, 0x00)},
      {"text", Text(20000)},
      {"random", RandomBytes(5000, 1, 256)},
      {"small alphabet, several rebuilds", RandomBytes(300000, 2, 4)},
      {"skewed random, several rebuilds", RandomBytes(200000, 5, 40)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes stream = lzh_test::GreedyCompress(c.input);
    const auto count = static_cast<std::int32_t>(c.input.size());
    ASSERT_EQ(Unpack(stream, count), c.input);
    EXPECT_EQ(Procs().position, stream.size());
    EXPECT_LE(Procs().empty_reads, 1);

    MemoryReader reader{&stream};
    MemoryWriter writer;
    lzh::LzhUnpackWith(count, reader, writer);
    EXPECT_EQ(writer.output, c.input);
    EXPECT_EQ(reader.calls, Procs().read_calls);
  }
}

// Readers that log, for every byte written, how many bytes had been asked
// for by then: the order of reads and writes that a caller can see.
struct RequestLog {
  std::size_t requests = 0;  // reads, delivered or not
  std::size_t skipped = 0;   // of them, reads made as a skip of bytes shown ahead
  std::vector<std::size_t> requests_at_write;
  Bytes output;
};

struct LoggingReader {
  const Bytes* input;
  RequestLog* log;
  std::size_t position = 0;
  void operator()(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
    ++log->requests;
    if (count == 1 && position < input->size()) {
      *buffer = (*input)[position++];
      delivered = 1;
    } else {
      delivered = 0;
    }
  }
};

// Shows the bytes up to the end of the current page, so that the decoder
// keeps switching between whole symbols from the bytes shown and reads of
// one byte, the way the file driver's buffer ends every 32768 bytes.
struct PagedReader : LoggingReader {
  std::size_t page;
  std::size_t AheadCount() const {
    if (position >= input->size()) return 0;
    return std::min(page - position % page, input->size() - position);
  }
  const std::uint8_t* Ahead() const { return input->data() + position; }
  void Skip(std::size_t n) {
    position += n;
    log->requests += n;
    log->skipped += n;
  }
};

struct LoggingWriter {
  RequestLog* log;
  void operator()(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
    log->output.insert(log->output.end(), buffer, buffer + count);
    log->requests_at_write.push_back(log->requests);
    accepted = count;
  }
};

// Shows the room up to the end of the current page of output, the way the
// file driver's buffer is written out every 32768 bytes.
struct PagedWriter : LoggingWriter {
  std::size_t page;
  Bytes room = Bytes(page);
  std::size_t RoomCount() const { return page - log->output.size() % page; }
  std::uint8_t* Room() { return room.data() + log->output.size() % page; }
  void Took(std::size_t n) {
    const std::uint8_t* placed = Room();
    for (std::size_t i = 0; i < n; ++i) {
      log->output.push_back(placed[i]);
      log->requests_at_write.push_back(log->requests);
    }
  }
};

TEST(LzhUnpack, ProceduresShowingBytesAheadAndRoomSeeTheSameReadsAndWrites) {
  static_assert(lzh::unpack_detail::ShowsAhead<PagedReader>::value, "");
  static_assert(!lzh::unpack_detail::ShowsAhead<LoggingReader>::value, "");
  static_assert(lzh::unpack_detail::ShowsRoom<PagedWriter>::value, "");
  static_assert(!lzh::unpack_detail::ShowsRoom<LoggingWriter>::value, "");
  struct Case {
    const char* name;
    Bytes stream;
    std::int32_t count;
  };
  const Bytes text = Text(30000);
  const Bytes skewed = RandomBytes(120000, 5, 40);
  Bytes cut = lzh_test::GreedyCompress(text);
  cut.resize(cut.size() / 2);
  const Case cases[] = {
      {"three literals", {0xf6, 0xfb, 0xbd, 0xe0}, 3},
      {"match written whole past count", {0x04, 0x04, 0x00, 0x00}, 5},
      {"text", lzh_test::GreedyCompress(text), static_cast<std::int32_t>(text.size())},
      {"skewed random, a rebuild", lzh_test::GreedyCompress(skewed),
       static_cast<std::int32_t>(skewed.size())},
      {"random bytes", lzh_test::GreedyCompress(RandomBytes(6000, 9, 256)), 6000},
      {"stream cut short", cut, static_cast<std::int32_t>(text.size())},
  };
  for (const Case& c : cases) {
    RequestLog plain;
    LoggingReader reader{&c.stream, &plain};
    LoggingWriter writer{&plain};
    lzh::LzhUnpackWith(c.count, reader, writer);
    for (std::size_t page : {1, 7, 8, 9, 13, 64, 32768}) {
      SCOPED_TRACE(std::string(c.name) + ", page " + std::to_string(page));
      RequestLog ahead;
      PagedReader paged{{&c.stream, &ahead}, page};
      LoggingWriter paged_writer{&ahead};
      lzh::LzhUnpackWith(c.count, paged, paged_writer);
      ASSERT_EQ(ahead.output, plain.output);
      EXPECT_EQ(ahead.requests_at_write, plain.requests_at_write);
      EXPECT_EQ(ahead.requests, plain.requests);
      EXPECT_EQ(paged.position, reader.position);
      // Pages of 8 bytes and more let whole symbols be taken ahead.
      if (page >= 8 && c.stream.size() >= 64) {
        EXPECT_GT(ahead.skipped, 0u);
      }
      if (page < 8) {
        EXPECT_EQ(ahead.skipped, 0u);
      }
    }
    // Room for a byte, for less than a whole match, for several matches.
    for (std::size_t page : {1, 5, 61, 4096}) {
      SCOPED_TRACE(std::string(c.name) + ", output page " + std::to_string(page));
      RequestLog room;
      PagedReader paged{{&c.stream, &room}, 9};
      PagedWriter paged_writer{{&room}, page};
      lzh::LzhUnpackWith(c.count, paged, paged_writer);
      ASSERT_EQ(room.output, plain.output);
      EXPECT_EQ(room.requests_at_write, plain.requests_at_write);
      EXPECT_EQ(room.requests, plain.requests);
    }
  }
}

}  // namespace

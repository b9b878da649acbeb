// The bit reader: bit order, when it calls the read procedure, how it treats
// bytes that are not delivered.
#include "lzh/bit_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/lzh/byte_procs.h"

namespace {

using lzh_test::Procs;
using lzh_test::ResetProcs;

TEST(BitReader, BitOrderAndRefills) {
  ResetProcs({0xAB, 0xCD});
  lzh::BitReader bits;
  lzh::ResetBitReader(bits);
  auto read = lzh_test::ReadByte;
  EXPECT_EQ(Procs().read_calls, 0);  // nothing is fetched before the first bit

  EXPECT_EQ(lzh::ReadBit(bits, read), 1u);
  EXPECT_EQ(Procs().read_calls, 2);  // an empty reader takes two bytes
  EXPECT_EQ(bits.BitCount, 15);
  EXPECT_EQ(lzh::Read8Bits(bits, read), 0x57u);
  EXPECT_EQ(Procs().read_calls, 2);
  EXPECT_EQ(bits.BitCount, 7);
  EXPECT_EQ(lzh::ReadBit(bits, read), 1u);
  EXPECT_EQ(Procs().read_calls, 3);
  EXPECT_EQ(Procs().empty_reads, 1);
  EXPECT_EQ(bits.BitCount, 14);
  // What is left: the low 6 bits of 0xCD (001101), then the zero byte.
  EXPECT_EQ(bits.BitBuffer, 0x3400);
}

TEST(BitReader, RefillsOnlyAtEightBitsOrFewer) {
  // Reading one bit at a time from a full reader: a byte is fetched exactly
  // when 8 bits are left, so 9..16 bits are held after every refill.
  ResetProcs(std::vector<std::uint8_t>(10, 0x0F));
  lzh::BitReader bits;
  auto read = lzh_test::ReadByte;
  std::vector<int> calls_after;
  std::vector<unsigned> got;
  for (int i = 0; i < 40; ++i) {
    got.push_back(lzh::ReadBit(bits, read));
    calls_after.push_back(Procs().read_calls);
    ASSERT_GE(bits.BitCount, 8);
    ASSERT_LE(bits.BitCount, 15);
  }
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(got[static_cast<std::size_t>(i)], (i % 8) >= 4 ? 1u : 0u) << i;
    // Bit i (0-based) needs i + 9 bits held before it: ceil((i + 9) / 8) bytes.
    EXPECT_EQ(calls_after[static_cast<std::size_t>(i)], (i + 9 + 7) / 8) << i;
  }
}

TEST(BitReader, UndeliveredBytesReadAsZero) {
  // A procedure that reports a count other than 1 leaves junk in the buffer;
  // the reader uses 0 in its place.
  struct OddReader {
    int calls = 0;
    void operator()(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
      EXPECT_EQ(count, 1);
      *buffer = 0xFF;
      delivered = static_cast<std::uint16_t>(++calls == 1 ? 1 : (calls == 2 ? 0 : 2));
    }
  } read;
  lzh::BitReader bits;
  EXPECT_EQ(lzh::Read8Bits(bits, read), 0xFFu);
  EXPECT_EQ(lzh::Read8Bits(bits, read), 0x00u);  // delivered 0
  EXPECT_EQ(lzh::Read8Bits(bits, read), 0x00u);  // delivered 2
  EXPECT_EQ(read.calls, 4);
}

TEST(BitReader, ReadBitsMatchesSingleBits) {
  // From every fill level and for every width, ReadBits takes the same bits
  // with the same reads as ReadBit one at a time, also at the end of input.
  struct Counting {
    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
    int calls = 0;
    void operator()(std::uint8_t* buffer, std::uint16_t, std::uint16_t& delivered) {
      ++calls;
      delivered = position < bytes.size() ? 1 : 0;
      if (delivered) *buffer = bytes[position++];
    }
  };
  const std::vector<std::uint8_t> input = {0x9D, 0x3C, 0xE1, 0x72};
  for (unsigned skip = 0; skip < 34; ++skip) {
    for (unsigned n = 1; n <= 8; ++n) {
      Counting one{input}, many{input};
      lzh::BitReader a, b;
      for (unsigned i = 0; i < skip; ++i) {
        lzh::ReadBit(a, one);
        lzh::ReadBit(b, many);
      }
      unsigned expected = 0;
      for (unsigned i = 0; i < n; ++i) expected = expected << 1 | lzh::ReadBit(a, one);
      EXPECT_EQ(lzh::ReadBits(b, many, n), expected) << skip << " " << n;
      EXPECT_EQ(many.calls, one.calls) << skip << " " << n;
      EXPECT_EQ(b.BitCount, a.BitCount) << skip << " " << n;
      EXPECT_EQ(b.BitBuffer, a.BitBuffer) << skip << " " << n;
    }
  }
}

}  // namespace

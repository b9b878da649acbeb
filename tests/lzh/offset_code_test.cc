// The offset code: the tables' rule, the known bit patterns, and every offset
// coded by the prefix rule and read back.
#include "lzh/offset_code.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/lzh/test_stream.h"

namespace {

// Reads from a fixed list of bits, packed into bytes most significant first.
struct BitList {
  std::vector<std::uint8_t> bytes;
  std::size_t position = 0;
  int calls = 0;
  void operator()(std::uint8_t* buffer, std::uint16_t, std::uint16_t& delivered) {
    ++calls;
    if (position < bytes.size()) {
      *buffer = bytes[position++];
      delivered = 1;
    } else {
      delivered = 0;
    }
  }
};

BitList Pack(unsigned lead, const std::vector<int>& more) {
  lzh_test::StreamBuilder b;  // only its bit packing is used
  b.Bits(lead, 8);
  for (int bit : more) b.Bits(static_cast<std::uint32_t>(bit), 1);
  return BitList{b.Bytes()};
}

TEST(OffsetCode, Tables) {
  struct Group {
    unsigned first, last, high, per, length;
  };
  const Group groups[] = {{0x00, 0x1F, 0, 32, 3},  {0x20, 0x4F, 1, 16, 4}, {0x50, 0x8F, 4, 8, 5},
                          {0x90, 0xBF, 12, 4, 6}, {0xC0, 0xEF, 24, 2, 7}, {0xF0, 0xFF, 48, 1, 8}};
  for (const Group& g : groups) {
    for (unsigned b = g.first; b <= g.last; ++b) {
      EXPECT_EQ(lzh::OffsetHighBits[b], g.high + (b - g.first) / g.per) << b;
      EXPECT_EQ(lzh::OffsetCodeLength[b], g.length) << b;
    }
  }
}

TEST(OffsetCode, KnownPatterns) {
  struct Case {
    unsigned lead;
    std::vector<int> more;
    unsigned offset;
  };
  const Case cases[] = {
      {0x00, {1}, 1},
      {0x1F, {1}, 63},
      {0x20, {0, 0}, 64},
      {0x50, {0, 0, 0}, 256},
      {0x90, {0, 0, 0, 0}, 12 * 64},
      {0xC0, {0, 0, 0, 0, 0}, 24 * 64},
      {0xF0, {0, 0, 0, 0, 0, 0}, 48 * 64},
      {0xFF, {1, 1, 1, 1, 1, 1}, 4095},
  };
  for (const Case& c : cases) {
    BitList input = Pack(c.lead, c.more);
    lzh::BitReader bits;
    EXPECT_EQ(lzh::DecodeOffset(bits, input), c.offset) << c.lead;
    // Exactly the 8 bits and the further ones were taken.
    EXPECT_EQ(8 * input.calls - bits.BitCount, 8 + static_cast<int>(c.more.size()));
  }
}

TEST(OffsetCode, EveryOffsetReadsBack) {
  lzh_test::StreamBuilder b;
  for (int offset = 0; offset < 4096; ++offset) b.Offset(offset);
  b.Bits(0x5, 3);  // a marker after the last offset
  BitList input{b.Bytes()};
  lzh::BitReader bits;
  for (unsigned offset = 0; offset < 4096; ++offset) {
    ASSERT_EQ(lzh::DecodeOffset(bits, input), offset);
  }
  EXPECT_EQ(lzh::ReadBit(bits, input), 1u);
  EXPECT_EQ(lzh::ReadBit(bits, input), 0u);
  EXPECT_EQ(lzh::ReadBit(bits, input), 1u);
}

}  // namespace

// The prefix code of match offsets. An offset (0..4095) is its upper 6 bits as
// a prefix code of 3 to 8 bits followed by its lower 6 bits as they are. The
// first 8 bits of a coded offset always hold the whole prefix, so two tables
// indexed by those 8 bits give the upper bits and the prefix length.
#pragma once

#include <array>
#include <cstdint>

#include "lzh/bit_reader.h"
#include "lzh/force_inline.h"

namespace lzh {

namespace offset_code_detail {

struct OffsetTables {
  std::array<std::uint8_t, 256> high{};
  std::array<std::uint8_t, 256> length{};
};

// Prefix lengths 3..8 cover the 8-bit leads in six groups; within a group
// each value of the upper bits owns the same number of consecutive leads.
constexpr OffsetTables MakeOffsetTables() {
  OffsetTables t;
  struct Group {
    int first_lead, first_high, leads_per_value, code_length;
  };
  constexpr Group groups[] = {
      {0x00, 0, 32, 3}, {0x20, 1, 16, 4}, {0x50, 4, 8, 5},
      {0x90, 12, 4, 6}, {0xC0, 24, 2, 7}, {0xF0, 48, 1, 8},
  };
  for (int g = 0; g < 6; ++g) {
    const int end = g + 1 < 6 ? groups[g + 1].first_lead : 0x100;
    for (int b = groups[g].first_lead; b < end; ++b) {
      t.high[b] = static_cast<std::uint8_t>(groups[g].first_high +
                                            (b - groups[g].first_lead) / groups[g].leads_per_value);
      t.length[b] = static_cast<std::uint8_t>(groups[g].code_length);
    }
  }
  return t;
}

}  // namespace offset_code_detail

// Upper 6 bits of the offset, and the prefix length in bits, per 8-bit lead.
inline constexpr std::array<std::uint8_t, 256> OffsetHighBits =
    offset_code_detail::MakeOffsetTables().high;
inline constexpr std::array<std::uint8_t, 256> OffsetCodeLength =
    offset_code_detail::MakeOffsetTables().length;

// Reads one coded offset: 8 bits, then as many more as the lead's prefix
// length minus 2 (1..6); returns 0..4095.
template <class Read>
LZH_FORCE_INLINE std::uint16_t DecodeOffset(BitReader& bits, Read& read) {
  const unsigned b = Read8Bits(bits, read);
  const unsigned more = OffsetCodeLength[b] - 2u;
  const unsigned v = b << more | ReadBits(bits, read, more);
  return static_cast<std::uint16_t>(OffsetHighBits[b] << 6 | (v & 0x3F));
}

}  // namespace lzh

// The decoder's bit reader: takes the compressed stream one byte at a time
// from a read procedure and hands out single bits or groups of eight, most
// significant bit first. It holds at most 16 bits and refills only when 8 or
// fewer are left, so it never asks for more than one byte beyond the byte
// whose bits it hands out. A byte that the procedure does not deliver (end of
// input) counts as 0x00; decoding never stops for lack of input.
//
// The functions are templates on the read procedure: `read(buffer, 1,
// delivered)` is all they need, so a plain ReadProc and an inline functor
// both work and the functor costs no indirect call.
#pragma once

#include <cstdint>
#include <cstring>

#include "lzh/force_inline.h"

namespace lzh {

struct BitReader {
  std::uint16_t BitBuffer = 0;  // next bit at bit 15; the bits below are 0
  std::uint8_t BitCount = 0;    // bits held, 0..16
};

inline void ResetBitReader(BitReader& bits) {
  bits.BitBuffer = 0;
  bits.BitCount = 0;
}

// Eight bytes as one number, the first byte most significant.
inline std::uint64_t LoadBigEndian64(const std::uint8_t* bytes) {
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  return __builtin_bswap64(value);
#else
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = value << 8 | bytes[i];
  return value;
#endif
}

// One byte from read, or 0 when it does not deliver exactly one (the end of
// the input).
template <class Read>
LZH_FORCE_INLINE unsigned ReadByteOrZero(Read& read) {
  std::uint8_t byte = 0;
  std::uint16_t delivered = 0;
  read(&byte, 1, delivered);
  return delivered == 1 ? byte : 0u;
}

// Tops the buffer up to 9..16 bits, one byte per call of read.
template <class Read>
LZH_FORCE_INLINE void RefillBitReader(BitReader& bits, Read& read) {
  while (bits.BitCount <= 8) {
    const unsigned v = ReadByteOrZero(read);
    bits.BitBuffer = static_cast<std::uint16_t>(bits.BitBuffer | (v << (8 - bits.BitCount)));
    bits.BitCount = static_cast<std::uint8_t>(bits.BitCount + 8);
  }
}

template <class Read>
LZH_FORCE_INLINE unsigned ReadBit(BitReader& bits, Read& read) {
  if (bits.BitCount <= 8) RefillBitReader(bits, read);
  const unsigned bit = bits.BitBuffer >> 15;
  bits.BitBuffer = static_cast<std::uint16_t>(bits.BitBuffer << 1);
  bits.BitCount = static_cast<std::uint8_t>(bits.BitCount - 1);
  return bit;
}

template <class Read>
LZH_FORCE_INLINE unsigned Read8Bits(BitReader& bits, Read& read) {
  if (bits.BitCount <= 8) RefillBitReader(bits, read);
  const unsigned value = bits.BitBuffer >> 8;
  bits.BitBuffer = static_cast<std::uint16_t>(bits.BitBuffer << 8);
  bits.BitCount = static_cast<std::uint8_t>(bits.BitCount - 8);
  return value;
}

// The next n bits (1..8), first bit most significant: the same value, the
// same reads and the same state afterwards as n calls of ReadBit, with one
// test instead of n. The bits above 8 that are held can be taken without a
// refill; a refill falls due when exactly 8 are left.
template <class Read>
LZH_FORCE_INLINE unsigned ReadBits(BitReader& bits, Read& read, unsigned n) {
  if (bits.BitCount <= 8) RefillBitReader(bits, read);
  const unsigned spare = bits.BitCount - 8u;  // 1..8
  if (n <= spare) {
    const unsigned value = static_cast<unsigned>(bits.BitBuffer) >> (16 - n);
    bits.BitBuffer = static_cast<std::uint16_t>(bits.BitBuffer << n);
    bits.BitCount = static_cast<std::uint8_t>(bits.BitCount - n);
    return value;
  }
  const unsigned head = static_cast<unsigned>(bits.BitBuffer) >> (16 - spare);
  bits.BitBuffer = static_cast<std::uint16_t>(bits.BitBuffer << spare);
  bits.BitCount = 8;
  RefillBitReader(bits, read);
  const unsigned rest = n - spare;
  const unsigned tail = static_cast<unsigned>(bits.BitBuffer) >> (16 - rest);
  bits.BitBuffer = static_cast<std::uint16_t>(bits.BitBuffer << rest);
  bits.BitCount = static_cast<std::uint8_t>(bits.BitCount - rest);
  return head << rest | tail;
}

}  // namespace lzh

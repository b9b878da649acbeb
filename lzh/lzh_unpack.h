// The LZSS window decoder: turns one LZH bit stream into a requested number
// of bytes. Input comes one byte per call from a read procedure, output goes
// one byte per call to a write procedure; buffering is the caller's business.
//
// The core is a template on the reader and the writer, called as
// `read(buffer, 1, delivered)` and `write(buffer, 1, accepted)`: a functor
// whose operator() is inline folds into the decoding loop, so the per-byte
// path has no indirect call. LzhUnpack with plain procedures is one
// instantiation of it.
//
// Assumes one run at a time (the table allocator is module-level). A failure
// raised by read or write travels on unchanged after the tables are given
// back. Decoding allocates nothing per symbol or per byte.
#pragma once

#include <cstdint>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

#include "lzh/bit_reader.h"
#include "lzh/code_model.h"
#include "lzh/dictionary_tables.h"
#include "lzh/force_inline.h"
#include "lzh/offset_code.h"
#include "lzh/symbol_decoder.h"

namespace lzh {

using ReadProc = void (*)(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered);
using WriteProc = void (*)(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted);

// Produces at least count bytes (a match that passes count is written whole);
// a count of 0 or below produces nothing and reads nothing.
void LzhUnpack(std::int32_t count, ReadProc read, WriteProc write);

namespace unpack_detail {

// Passes one byte to write and keeps it in the window.
template <class Write>
inline void PutByte(std::uint8_t byte, std::uint8_t* window, unsigned& r, Write& write) {
  std::uint16_t accepted = 0;  // never looked at: a short write raises in write
  write(&byte, 1, accepted);
  window[r] = byte;
  r = (r + 1) & lzss::WindowMask;
}

// A reader may show the bytes it would deliver next, as the file driver's
// buffer does:
//   std::size_t AheadCount() const       how many bytes it can show,
//   const std::uint8_t* Ahead() const    where they are,
//   void Skip(std::size_t n)             the same as n one-byte reads, for
//                                        n <= AheadCount().
// The decoder then takes a whole symbol and its offset from those bytes and
// makes the reads the bit reader would have made for them in one step;
// nothing else happens between those reads, so the reader sees the same
// requests in the same order.
template <class T, class = void>
struct ShowsAhead : std::false_type {};
template <class T>
struct ShowsAhead<T, std::void_t<decltype(std::declval<const T&>().AheadCount()),
                                 decltype(std::declval<const T&>().Ahead()),
                                 decltype(std::declval<T&>().Skip(std::size_t{0}))>>
    : std::true_type {};

// Likewise a writer may show where its next bytes would go:
//   std::size_t RoomCount() const   how many bytes it can take that way,
//   std::uint8_t* Room()            where they go,
//   void Took(std::size_t n)        the same as n one-byte writes of the
//                                   bytes placed there, for n <= RoomCount().
// Bytes of the room beyond those taken may be overwritten.
template <class T, class = void>
struct ShowsRoom : std::false_type {};
template <class T>
struct ShowsRoom<T, std::void_t<decltype(std::declval<const T&>().RoomCount()),
                                decltype(std::declval<T&>().Room()),
                                decltype(std::declval<T&>().Took(std::size_t{0}))>>
    : std::true_type {};

// Decodes one symbol, and the offset of a match, from the held bits and the
// 8 bytes that read shows ahead (at least 8 are needed; the tree must keep
// ChildOffsets), and skips the bytes the bit reader would have read on the
// way. Returns false, having
// changed nothing, for a code too long for those bits (a tree this deep
// does not arise from counts below the weight limit, but nothing here
// relies on that).
template <class Read>
LZH_NO_INLINE bool DecodeAhead(BitReader& bits, CodeTree& tree, Read& read, unsigned& symbol,
                               unsigned& offset) {
  const unsigned held = bits.BitCount;  // 0..16
  // The held bits, then the bytes ahead: 64 bits that are all the stream's.
  std::uint64_t look = static_cast<std::uint64_t>(bits.BitBuffer) << 48 |
                       LoadBigEndian64(read.Ahead()) >> held;
  auto next_bit = [&look]() -> std::ptrdiff_t {
    const auto bit = static_cast<std::ptrdiff_t>(look >> 63);
    look <<= 1;
    return bit;
  };
  std::int16_t path[SymbolCount];
  std::int16_t* end = path;
  unsigned used;
  if (LZH_LIKELY(tree.NodeWeight[RootPosition] != WeightLimit)) {
    // The walk finds where the update's first exchange falls.
    std::int16_t* tie = nullptr;
    symbol = symbol_detail::WalkFindingTie(tree.ChildOffsets, tree.NodeWeight, path, &end,
                                           &tie, next_bit);
    used = static_cast<unsigned>(end - path);
    // With at most 40 + 14 bits used, the bits taken and the bytes read stay
    // within the 64 bits shown.
    if (LZH_UNLIKELY(used > 40)) return false;
    CompleteRaise(tree, path, end, tie);
  } else {
    // A rebuild comes first: the walk uses the tree as it stands, and the
    // update (rebuilding) needs neither the path nor the tie.
    std::int16_t* tie = nullptr;
    symbol = symbol_detail::WalkFindingTie(tree.ChildOffsets, tree.NodeWeight, path, &end,
                                           &tie, next_bit);
    used = static_cast<unsigned>(end - path);
    if (LZH_UNLIKELY(used > 40)) return false;
    UpdateModelAlongPath(tree, symbol, path, static_cast<int>(used));
  }
  if (symbol >= lzss::FirstMatchSymbol) {
    const unsigned lead = static_cast<unsigned>(look >> 56);
    const unsigned more = OffsetCodeLength[lead] - 2u;  // 1..6
    const unsigned code = static_cast<unsigned>(look >> (56 - more));
    offset = OffsetHighBits[lead] << 6 | (code & 0x3F);
    look <<= 8 + more;
    used += 8 + more;
  }
  // The bit reader reads a byte whenever it holds 8 bits or fewer and needs
  // a bit: for used bits taken from held, it reads ceil((used + 8 - held) / 8)
  // bytes, and ends up holding 8 to 15 bits.
  const int short_by = static_cast<int>(used + 8) - static_cast<int>(held);
  const unsigned reads = short_by > 0 ? static_cast<unsigned>(short_by + 7) / 8 : 0u;
  read.Skip(reads);
  const unsigned now_held = held + 8 * reads - used;
  bits.BitBuffer = static_cast<std::uint16_t>((look >> 48) & ~(0xFFFFu >> now_held));
  bits.BitCount = static_cast<std::uint8_t>(now_held);
  return true;
}

// Whether a group of eight bytes loads with its first byte lowest, which the
// group copy below relies on; elsewhere matches are copied bytewise.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool kGroupCopy = true;
#else
constexpr bool kGroupCopy = false;
#endif

// Copies a match of length bytes from source to target within the window
// and to out, eight bytes at a time, with the result of the bytewise copy:
// source and target are at least 8 bytes apart, so each group of eight
// reads only bytes that are final already. Reads and writes whole groups:
// up to 64 bytes from source and target on must lie within the window, and
// out must have room for 64 bytes, of which those past length are left
// undefined. The bytes of the window past length keep their values.
inline void CopyMatchInEights(const std::uint8_t* source, std::uint8_t* target,
                              std::uint8_t* out, unsigned length) {
  for (unsigned t = 0; t < length; t += 8) {
    std::uint64_t group;
    std::memcpy(&group, source + t, sizeof group);
    std::memcpy(out + t, &group, sizeof group);
    if (t + 8 > length) {
      // The last, partial group: keep the window's bytes past length
      // (little-endian: the first bytes are the low ones).
      const std::uint64_t taken = ~std::uint64_t{0} >> (64 - 8 * (length - t));
      std::uint64_t kept;
      std::memcpy(&kept, target + t, sizeof kept);
      group = (group & taken) | (kept & ~taken);
    }
    std::memcpy(target + t, &group, sizeof group);
  }
}

// Decodes symbols until count bytes have been produced, with the tables
// obtained and the bit reader reset.
template <class Read, class Write>
LZH_FORCE_INLINE void DecodeWindow(std::int32_t count, DictionaryTables& tables, Read& read,
                                   Write& write) {
  // The reader's state is a local of the loop so that it lives in registers.
  BitReader bits;
  ResetBitReader(bits);
  CodeTree tree = tables.Tree;
  // Kept beside the tree for the walk down; no part of the tables.
  std::uint16_t child_offsets[NodeChildEntries];
  tree.ChildOffsets = child_offsets;
  std::uint8_t* const window = tables.RingWindow;
  InitModel(tree);
  // Positions from WindowStart up are written before a sound stream refers
  // to them; they start as spaces too, so a damaged stream reads fixed values.
  std::memset(window, ' ', lzss::WindowSize);
  unsigned r = lzss::WindowStart;
  // Counted wide: a match may pass count by up to 59 bytes even when count
  // is the largest 32-bit value.
  std::int64_t produced = 0;
  while (produced < count) {
    unsigned symbol;
    unsigned offset = 0;
    bool decoded = false;
    if constexpr (ShowsAhead<Read>::value) {
      decoded = read.AheadCount() >= 8 && DecodeAhead(bits, tree, read, symbol, offset);
    }
    if (!decoded) {
      // One byte per read, the reads falling due as the bits are taken.
      symbol = DecodeSymbol(bits, tree, read);
      if (symbol >= lzss::FirstMatchSymbol) offset = DecodeOffset(bits, read);
    }
    if (symbol < lzss::FirstMatchSymbol) {
      if constexpr (ShowsRoom<Write>::value) {
        if (LZH_LIKELY(write.RoomCount() != 0)) {
          *write.Room() = static_cast<std::uint8_t>(symbol);
          write.Took(1);
          window[r] = static_cast<std::uint8_t>(symbol);
          r = (r + 1) & lzss::WindowMask;
          ++produced;
          continue;
        }
      }
      PutByte(static_cast<std::uint8_t>(symbol), window, r, write);
      ++produced;
      continue;
    }
    const unsigned length = symbol - (lzss::FirstMatchSymbol - lzss::MinMatch);
    unsigned from = (r - offset - 1) & lzss::WindowMask;
    produced += length;
    // One byte at a time, each read just before the next is stored, so an
    // overlapping source repeats the bytes it has just produced.
    if (from + length <= lzss::WindowSize && r + length <= lzss::WindowSize) {
      // Neither end wraps: no masking per byte.
      const std::uint8_t* source = window + from;
      std::uint8_t* target = window + r;
      const unsigned r_before = r;
      r = (r + length) & lzss::WindowMask;
      if constexpr (ShowsRoom<Write>::value) {
        if (LZH_LIKELY(write.RoomCount() >= length)) {
          std::uint8_t* out = write.Room();
          // Groups of eight need the ends 8 bytes apart, and 64 bytes of
          // window and of room (a match rounded up to whole groups).
          const std::ptrdiff_t gap = target - source;
          if (LZH_LIKELY(kGroupCopy && (gap >= 8 || gap <= -8) && write.RoomCount() >= 64 &&
                         from + 64 <= lzss::WindowSize && r_before + 64 <= lzss::WindowSize)) {
            CopyMatchInEights(source, target, out, length);
          } else {
            for (unsigned t = 0; t < length; ++t) out[t] = target[t] = source[t];
          }
          write.Took(length);
          continue;
        }
      }
      for (unsigned t = 0; t < length; ++t) {
        const std::uint8_t byte = source[t];
        std::uint16_t accepted = 0;
        write(&byte, 1, accepted);
        target[t] = byte;
      }
    } else {
      for (unsigned t = 0; t < length; ++t) {
        PutByte(window[from], window, r, write);
        from = (from + 1) & lzss::WindowMask;
      }
    }
  }
}

}  // namespace unpack_detail

template <class Read, class Write>
LZH_FORCE_INLINE void LzhUnpackWith(std::int32_t count, Read& read, Write& write) {
  DictionaryTables tables;
  GetDictionaryTables(tables);
  try {
    unpack_detail::DecodeWindow(count, tables, read, write);
  } catch (...) {
    // A failure in giving the tables back replaces the one in flight.
    FreeDictionaryTables(tables);
    throw;
  }
  FreeDictionaryTables(tables);
}

}  // namespace lzh

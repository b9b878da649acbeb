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
#include <cstring>

#include "lzh/bit_reader.h"
#include "lzh/code_model.h"
#include "lzh/dictionary_tables.h"
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

// Decodes symbols until count bytes have been produced, with the tables
// obtained and the bit reader reset.
template <class Read, class Write>
inline void DecodeWindow(std::int32_t count, DictionaryTables& tables, BitReader& bits,
                         Read& read, Write& write) {
  CodeTree tree = tables.Tree;
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
    const unsigned symbol = DecodeSymbol(bits, tree, read);
    if (symbol < lzss::FirstMatchSymbol) {
      PutByte(static_cast<std::uint8_t>(symbol), window, r, write);
      ++produced;
      continue;
    }
    const unsigned offset = DecodeOffset(bits, read);
    const unsigned length = symbol - (lzss::FirstMatchSymbol - lzss::MinMatch);
    unsigned from = (r - offset - 1) & lzss::WindowMask;
    produced += length;
    // One byte at a time, each read just before the next is stored, so an
    // overlapping source repeats the bytes it has just produced.
    if (from + length <= lzss::WindowSize && r + length <= lzss::WindowSize) {
      // Neither end wraps: no masking per byte.
      const std::uint8_t* source = window + from;
      std::uint8_t* target = window + r;
      for (unsigned t = 0; t < length; ++t) {
        const std::uint8_t byte = source[t];
        std::uint16_t accepted = 0;
        write(&byte, 1, accepted);
        target[t] = byte;
      }
      r = (r + length) & lzss::WindowMask;
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
void LzhUnpackWith(std::int32_t count, Read& read, Write& write) {
  BitReader bits;
  ResetBitReader(bits);
  DictionaryTables tables;
  GetDictionaryTables(tables);
  try {
    unpack_detail::DecodeWindow(count, tables, bits, read, write);
  } catch (...) {
    // A failure in giving the tables back replaces the one in flight.
    FreeDictionaryTables(tables);
    throw;
  }
  FreeDictionaryTables(tables);
}

}  // namespace lzh

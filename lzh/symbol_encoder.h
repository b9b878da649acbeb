// The coding half of the container writer: turns literals and matches into
// bits under the adaptive code tree (updated after every symbol exactly as
// the decoder updates its own) and the fixed offset code, most significant
// bit first, and hands whole bytes to a sink. Also answers what a symbol
// costs in bits right now, for the parsers. Assumes lengths 3..60 and
// offsets 0..4095.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "lzh/code_model.h"
#include "lzh/window_format.h"

namespace lzh {
namespace pack {

using lzss::MaxMatch;
using lzss::MinMatch;
using lzss::WindowSize;
constexpr int WindowStart = lzss::WindowStart;  // window positions below it start as spaces

// Receives the coded bytes in order.
using ByteSink = std::function<void(const std::uint8_t* bytes, std::size_t count)>;

// Bits of the code that carries offset p (upper 6 bits as a 3..8-bit prefix
// code, lower 6 bits as they are).
constexpr int OffsetBitsForHigh(int high) {
  return high == 0 ? 9 : high < 4 ? 10 : high < 12 ? 11 : high < 24 ? 12 : high < 48 ? 13 : 14;
}
inline int OffsetBits(int offset) { return OffsetBitsForHigh(offset >> 6); }

class SymbolEncoder {
 public:
  explicit SymbolEncoder(ByteSink sink);
  SymbolEncoder(const SymbolEncoder&) = delete;
  SymbolEncoder& operator=(const SymbolEncoder&) = delete;

  void PutLiteral(std::uint8_t byte) { PutSymbol(byte); }
  // length 3..60; offset 0..4095 (the match copies from offset + 1 bytes back).
  void PutMatch(int length, int offset) {
    PutSymbol(static_cast<unsigned>(length + 253));
    PutOffset(offset);
  }

  // Pads the last byte with zero bits and hands everything to the sink.
  void Finish();

  // The current code lengths of all symbols at once.
  void AllSymbolBits(std::uint8_t (&bits)[SymbolCount]) const;

 private:
  void PutSymbol(unsigned symbol);
  void PutOffset(int offset);
  void PutBits(std::uint32_t value, int count) {
    // count <= 32; at most 7 bits wait in the accumulator between calls.
    accumulator_ = accumulator_ << count | value;
    pending_ += count;
    while (pending_ >= 8) {
      pending_ -= 8;
      out_.push_back(static_cast<std::uint8_t>(accumulator_ >> pending_));
    }
    if (out_.size() >= kFlushSize) Flush();
  }
  void Flush();

  static constexpr std::size_t kFlushSize = 1 << 16;
  // Room for the path of the longest code, which also fits the 64-bit code
  // accumulated in PutSymbol (a root of at most 0x8000 allows far fewer levels).
  static constexpr int kMaxDepth = 64;

  std::array<std::uint16_t, NodeWeightEntries> weight_;
  std::array<std::int16_t, NodeChildEntries> child_;
  std::array<std::int16_t, NodeParentEntries> parent_;
  CodeTree tree_;
  std::uint64_t accumulator_ = 0;
  int pending_ = 0;
  std::vector<std::uint8_t> out_;
  ByteSink sink_;
};

}  // namespace pack
}  // namespace lzh

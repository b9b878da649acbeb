// Decoding one symbol of the adaptive code: walk the code tree from the root,
// one bit per level (0 = first child, 1 = second), to a leaf, then adapt the
// tree to the symbol just seen. Every bit sequence ends at a leaf, so there is
// no invalid code. Assumes the tree has been set up by InitModel.
#pragma once

#include <cstddef>

#include "lzh/bit_reader.h"
#include "lzh/code_model.h"
#include "lzh/force_inline.h"

namespace lzh {

namespace symbol_detail {

// Walks from the root to a leaf, taking each bit from next_bit(), and keeps
// the positions passed (below the root, down to the leaf) in path. Returns
// the symbol; *end is one past the last position kept.
template <class NextBit>
LZH_FORCE_INLINE unsigned Walk(const std::int16_t* child_entries, std::int16_t* path,
                               std::int16_t** end, NextBit& next_bit) {
  // The entries are never negative, and a zero-extending load is a cycle
  // faster than a sign-extending one on the chain of positions.
  const auto* const child = reinterpret_cast<const std::uint16_t*>(child_entries);
  std::int16_t* step = path;
  std::size_t c = child[RootPosition];
  do {
    // Only the position depends on the tree; the bit is ready ahead of it,
    // so it selects the base (first or second child) off the chain of
    // positions, and each level costs one load.
    const auto bit = static_cast<std::size_t>(next_bit());
    const std::uint16_t* children = child + bit;
    LZH_OPAQUE(children);
    *step++ = static_cast<std::int16_t>(c + bit);
    c = children[c];
  } while (c < static_cast<std::size_t>(TreeSize));
  *end = step;
  return static_cast<unsigned>(c - TreeSize);
}

// The same walk over ChildOffsets (which must be set): the chain of positions
// runs on byte offsets, so each level is one load with no scaling. It also
// notes in *tie the deepest node passed
// (the root excepted) whose upper neighbour weighs as much as it does, or
// null when there is none. Raising the path from the leaf up, the update
// first exchanges at exactly that node: raising a node changes no weight
// that a node above it on the path is compared with (its upper neighbour
// is never below it on the path). The weights are read off the chain of
// offsets, so the walk costs no more time per level; CompleteRaise then
// raises the nodes below the tie without comparing.
template <class NextBit>
LZH_FORCE_INLINE unsigned WalkFindingTie(const std::uint16_t* child_offsets,
                                         const std::uint16_t* weights, std::int16_t* path,
                                         std::int16_t** end, std::int16_t** tie,
                                         NextBit& next_bit) {
  const char* const entries = reinterpret_cast<const char*>(child_offsets);
  const char* const weight_entries = reinterpret_cast<const char*>(weights);
  std::int16_t* step = path;
  std::int16_t* last_tie = nullptr;
  std::size_t at = child_offsets[RootPosition];  // twice a position
  do {
    const auto bit = static_cast<std::size_t>(next_bit());
    const char* children = entries + 2 * bit;
    LZH_OPAQUE(children);
    // The node's weight and its upper neighbour's.
    const auto* const weight =
        reinterpret_cast<const std::uint16_t*>(weight_entries + at + 2 * bit);
    last_tie = weight[1] == weight[0] ? step : last_tie;
    *step++ = static_cast<std::int16_t>((at >> 1) + bit);
    at = *reinterpret_cast<const std::uint16_t*>(children + at);
  } while (at < static_cast<std::size_t>(2 * TreeSize));
  *end = step;
  *tie = last_tie;
  return static_cast<unsigned>((at >> 1) - TreeSize);
}

}  // namespace symbol_detail

// Returns a symbol 0..313 and updates the model for it.
template <class Read>
LZH_NO_INLINE unsigned DecodeSymbol(BitReader& bits, CodeTree& tree, Read& read) {
  // The reader's state in locals for the walk: the held bits left-aligned at
  // bit 31, and their count.
  std::uint32_t held_bits = static_cast<std::uint32_t>(bits.BitBuffer) << 16;
  unsigned held = bits.BitCount;
  auto next_bit = [&]() -> std::ptrdiff_t {
    if (LZH_UNLIKELY(held <= 8)) {
      // The refill of ReadBit: one byte per read until more than 8 bits are
      // held (two bytes only for an empty reader).
      do {
        held_bits |= static_cast<std::uint32_t>(ReadByteOrZero(read)) << (24 - held);
        held += 8;
      } while (held <= 8);
    }
    const std::ptrdiff_t bit = held_bits >> 31;
    held_bits <<= 1;
    --held;
    return bit;
  };
  // The positions passed on the way down, so that the update can walk back
  // up without looking up each parent. A tree of 314 leaves is at most 313
  // levels deep.
  std::int16_t path[SymbolCount];
  std::int16_t* end = path;
  const unsigned symbol = symbol_detail::Walk(tree.NodeChild, path, &end, next_bit);
  bits.BitBuffer = static_cast<std::uint16_t>(held_bits >> 16);
  bits.BitCount = static_cast<std::uint8_t>(held);
  UpdateModelAlongPath(tree, symbol, path, static_cast<int>(end - path));
  return symbol;
}

}  // namespace lzh

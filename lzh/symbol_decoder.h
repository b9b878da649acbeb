// Decoding one symbol of the adaptive code: walk the code tree from the root,
// one bit per level (0 = first child, 1 = second), to a leaf, then adapt the
// tree to the symbol just seen. Every bit sequence ends at a leaf, so there is
// no invalid code. Assumes the tree has been set up by InitModel.
#pragma once

#include <cstddef>

#include "lzh/bit_reader.h"
#include "lzh/code_model.h"

namespace lzh {

// Returns a symbol 0..313 and updates the model for it.
template <class Read>
inline unsigned DecodeSymbol(BitReader& bits, CodeTree& tree, Read& read) {
  const std::int16_t* const child = tree.NodeChild;
  // The positions passed on the way down, so that the update can walk back
  // up without looking up each parent. A tree of 314 leaves is at most 313
  // levels deep.
  std::int16_t path[SymbolCount];
  int depth = 0;
  // The position is kept pointer-wide and the bit is added to the base
  // rather than to the position, so that each level costs one load.
  std::ptrdiff_t c = child[RootPosition];
  do {
    const std::ptrdiff_t bit = ReadBit(bits, read);
    path[depth++] = static_cast<std::int16_t>(c + bit);
    c = (child + bit)[c];
  } while (c < TreeSize);
  const unsigned symbol = static_cast<unsigned>(c - TreeSize);
  UpdateModelAlongPath(tree, symbol, path, depth);
  return symbol;
}

}  // namespace lzh

// Decoding one symbol of the adaptive code: walk the code tree from the root,
// one bit per level (0 = first child, 1 = second), to a leaf, then adapt the
// tree to the symbol just seen. Every bit sequence ends at a leaf, so there is
// no invalid code. Assumes the tree has been set up by InitModel.
#pragma once

#include "lzh/bit_reader.h"
#include "lzh/code_model.h"

namespace lzh {

// Returns a symbol 0..313 and updates the model for it.
template <class Read>
inline unsigned DecodeSymbol(BitReader& bits, CodeTree& tree, Read& read) {
  const std::int16_t* const child = tree.NodeChild;
  int c = child[RootPosition];
  while (c < TreeSize) c = child[c + static_cast<int>(ReadBit(bits, read))];
  const unsigned symbol = static_cast<unsigned>(c - TreeSize);
  UpdateModel(tree, symbol);
  return symbol;
}

}  // namespace lzh

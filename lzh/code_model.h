// The adaptive Huffman code model shared by the decoder and the container
// writer: a code tree over 314 symbols (256 literals, 58 match lengths) whose
// shape follows the symbol counts seen so far. Both sides start from the same
// tree and apply the same update after every symbol, so no code table travels
// in the stream. The arrays are owned by the caller (the decoder obtains them
// per run); the functions here only touch them.
#pragma once

#include <cstdint>
#include <cstring>

#include "lzh/force_inline.h"

namespace lzh {

constexpr int SymbolCount = 314;       // 0..255 literals, 256..313 lengths 3..60
constexpr int TreeSize = 627;          // 314 leaves + 313 internal nodes
constexpr int RootPosition = 626;
constexpr std::uint16_t WeightLimit = 0x8000;    // the root rebuilds at this weight
constexpr std::uint16_t WeightSentinel = 0xFFFF; // NodeWeight[627], stops searches

constexpr int NodeWeightEntries = TreeSize + 1;              // 628
constexpr int NodeChildEntries = TreeSize;                   // 627
constexpr int NodeParentEntries = TreeSize + SymbolCount;    // 941

// The three arrays of the tree. NodeChild holds, for an internal node, the
// position of its first child (the second is the next position) and, for a
// leaf, its symbol + 627. NodeParent holds the parent of each position
// (entries 0..626; the root's is 0) and, at 627 + s, the leaf of symbol s.
//
// ChildOffsets is optional (the decoder's): when set, the functions here keep
// in it twice every NodeChild entry, the byte offset of the first child's
// entry, so that a walk down needs no scaling of positions.
struct CodeTree {
  std::uint16_t* NodeWeight = nullptr;    // NodeWeightEntries
  std::int16_t* NodeChild = nullptr;      // NodeChildEntries
  std::int16_t* NodeParent = nullptr;     // NodeParentEntries
  std::uint16_t* ChildOffsets = nullptr;  // NodeChildEntries, or none
};

// Sets every entry of ChildOffsets from NodeChild (when there is one).
void FillChildOffsets(CodeTree& tree);

// The fixed start state: leaf s at position s with weight 1, root weight 314.
void InitModel(CodeTree& tree);

// Halves every leaf weight (rounding up) and rebuilds the internal nodes.
void RebuildModel(CodeTree& tree);

namespace model_detail {

// The last position of the block that starts at c + 1 whose weights are all
// below k, given that weight[c + 1] < k; the sentinel at TreeSize ends it.
// Assumes 1 <= k <= 0x7FFF, true of every node below the root (the root
// never moves, and its weight is at most 0x8000 before it is raised).
inline int LastBelow(const std::uint16_t* weight, int c, std::uint16_t k) {
  int j = c + 2;  // the first candidate for a weight of k or more
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  // Four weights per 64-bit word: lane w gets its top bit set exactly when
  // w >= k. For w < 0x8000, (w | 0x8000) - k stays within the lane and keeps
  // its top bit when w - k >= 0; a w with its top bit set is always >= k.
  constexpr std::uint64_t kTop = 0x8000800080008000u;
  const std::uint64_t kk = 0x0001000100010001u * k;
  for (; j + 3 <= TreeSize; j += 4) {
    std::uint64_t lanes;
    std::memcpy(&lanes, weight + j, sizeof lanes);
    const std::uint64_t at_least = (((lanes | kTop) - kk) | lanes) & kTop;
    if (at_least != 0) return j + __builtin_ctzll(at_least) / 16 - 1;
  }
#endif
  while (weight[j] < k) ++j;
  return j - 1;
}

}  // namespace model_detail

// Raises the weight of the node at position c and of every node above it by
// one, moving a node to the top of the block of nodes that shared its old
// weight where the sibling order would break. Ends after the root.
inline void RaiseFrom(CodeTree& tree, int from) {
  std::uint16_t* const weight = tree.NodeWeight;
  std::int16_t* const child = tree.NodeChild;
  std::int16_t* const parent = tree.NodeParent;
  // Pointer-wide, so that each step up is a single load of the parent entry
  // with no widening of the position in between; read zero-extended (the
  // entries are never negative), which is a cycle faster on that chain.
  const auto* const up = reinterpret_cast<const std::uint16_t*>(parent);
  std::size_t c = static_cast<std::size_t>(from);
  do {
    const std::uint16_t k = ++weight[c];
    if (weight[c + 1] < k) {
      // The last position whose weight is still below k.
      const std::size_t l =
          static_cast<std::size_t>(model_detail::LastBelow(weight, static_cast<int>(c), k));
      // Exchange the nodes at c and l: the positions keep their parents,
      // the subtrees change places.
      weight[c] = weight[l];
      weight[l] = k;
      const int a = child[c];
      const int b = child[l];
      child[l] = static_cast<std::int16_t>(a);
      child[c] = static_cast<std::int16_t>(b);
      if (tree.ChildOffsets != nullptr) {
        tree.ChildOffsets[l] = static_cast<std::uint16_t>(2 * a);
        tree.ChildOffsets[c] = static_cast<std::uint16_t>(2 * b);
      }
      parent[a] = static_cast<std::int16_t>(l);
      if (a < TreeSize) parent[a + 1] = static_cast<std::int16_t>(l);
      parent[b] = static_cast<std::int16_t>(c);
      if (b < TreeSize) parent[b + 1] = static_cast<std::int16_t>(c);
      c = l;
    }
    c = up[c];
  } while (c != 0);  // only the root has parent entry 0
}

// Raises the weight of symbol s's leaf and of every node on its path to the
// root by one, keeping the sibling order. Rebuilds first when the root
// weighs exactly WeightLimit.
inline void UpdateModel(CodeTree& tree, unsigned symbol) {
  if (tree.NodeWeight[RootPosition] == WeightLimit) RebuildModel(tree);
  RaiseFrom(tree, tree.NodeParent[TreeSize + symbol]);
}

// The same update as UpdateModel, for a symbol whose path is known: path
// holds the positions from just below the root down to the symbol's leaf
// (depth entries), as the tree stood when the symbol was decoded. Walking
// the known path spares the chain of parent look-ups until the first
// exchange; from there on the parent entries lead.
LZH_FORCE_INLINE void UpdateModelAlongPath(CodeTree& tree, unsigned symbol,
                                           const std::int16_t* path, int depth) {
  std::uint16_t* const weight = tree.NodeWeight;
  if (weight[RootPosition] == WeightLimit) {
    // The rebuild moves every node: the path no longer holds.
    UpdateModel(tree, symbol);
    return;
  }
  for (int i = depth - 1; i >= 0; --i) {
    const int c = path[i];
    const std::uint16_t k = ++weight[c];
    if (weight[c + 1] < k) {
      // Undo and let the general walk handle this node and all above it.
      --weight[c];
      RaiseFrom(tree, c);
      return;
    }
  }
  ++weight[RootPosition];  // the sentinel above keeps the root in place
}

// The update of UpdateModel for a symbol whose path is known, from just below
// the root down to the leaf (path to end), with tie the deepest node of the
// path whose upper neighbour weighs as much as it does, or null. The nodes
// below the tie rise without exchanges; from the tie up the general walk
// takes over. The root must not be due for a rebuild.
LZH_FORCE_INLINE void CompleteRaise(CodeTree& tree, const std::int16_t* path,
                                    const std::int16_t* end, const std::int16_t* tie) {
  std::uint16_t* const weight = tree.NodeWeight;
  if (tie == nullptr) {
    // No node of the path moves.
    for (const std::int16_t* p = path; p != end; ++p) ++weight[*p];
    ++weight[RootPosition];  // the sentinel above keeps the root in place
    return;
  }
  for (const std::int16_t* p = tie + 1; p != end; ++p) ++weight[*p];
  RaiseFrom(tree, *tie);
}

}  // namespace lzh

// Start state and rebuild of the adaptive code tree.
#include "lzh/code_model.h"

#include <cstring>

namespace lzh {

void InitModel(CodeTree& tree) {
  std::uint16_t* const weight = tree.NodeWeight;
  std::int16_t* const child = tree.NodeChild;
  std::int16_t* const parent = tree.NodeParent;
  for (int s = 0; s < SymbolCount; ++s) {
    weight[s] = 1;
    child[s] = static_cast<std::int16_t>(s + TreeSize);
    parent[TreeSize + s] = static_cast<std::int16_t>(s);
  }
  int i = 0;
  for (int p = SymbolCount; p < TreeSize; ++p) {
    weight[p] = static_cast<std::uint16_t>(weight[i] + weight[i + 1]);
    child[p] = static_cast<std::int16_t>(i);
    parent[i] = static_cast<std::int16_t>(p);
    parent[i + 1] = static_cast<std::int16_t>(p);
    i += 2;
  }
  weight[TreeSize] = WeightSentinel;
  parent[RootPosition] = 0;
  FillChildOffsets(tree);
}

void FillChildOffsets(CodeTree& tree) {
  if (tree.ChildOffsets == nullptr) return;
  for (int p = 0; p < TreeSize; ++p) {
    tree.ChildOffsets[p] = static_cast<std::uint16_t>(2 * tree.NodeChild[p]);
  }
}

void RebuildModel(CodeTree& tree) {
  std::uint16_t* const weight = tree.NodeWeight;
  std::int16_t* const child = tree.NodeChild;
  std::int16_t* const parent = tree.NodeParent;

  // Gather the leaves at the bottom, in their old order, with halved weights.
  int j = 0;
  for (int p = 0; p < TreeSize; ++p) {
    if (child[p] >= TreeSize) {
      weight[j] = static_cast<std::uint16_t>((weight[p] + 1) / 2);
      child[j] = child[p];
      ++j;
    }
  }

  // Join pairs from the bottom up, inserting each new node after every node
  // of equal weight so that the weights stay in order.
  int i = 0;
  for (int p = SymbolCount; p < TreeSize; ++p) {
    const std::uint16_t f = static_cast<std::uint16_t>(weight[i] + weight[i + 1]);
    int k = p - 1;
    while (k >= 0 && weight[k] > f) --k;
    ++k;
    const std::size_t moved = static_cast<std::size_t>(p - k);
    std::memmove(weight + k + 1, weight + k, moved * sizeof *weight);
    std::memmove(child + k + 1, child + k, moved * sizeof *child);
    weight[k] = f;
    child[k] = static_cast<std::int16_t>(i);
    i += 2;
  }

  // Point every node and leaf at its parent again.
  for (int p = 0; p < TreeSize; ++p) {
    const int b = child[p];
    parent[b] = static_cast<std::int16_t>(p);
    if (b < TreeSize) parent[b + 1] = static_cast<std::int16_t>(p);
  }
  FillChildOffsets(tree);
}

}  // namespace lzh

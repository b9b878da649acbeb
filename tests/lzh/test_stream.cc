// The test-side stream builder, tree checker and greedy coder.
#include "tests/lzh/test_stream.h"

#include <algorithm>

namespace lzh_test {

using lzh::RootPosition;
using lzh::SymbolCount;
using lzh::TreeSize;

std::vector<int> CodeOf(const lzh::CodeTree& tree, unsigned symbol) {
  std::vector<int> bits;
  int c = tree.NodeParent[TreeSize + symbol];
  while (c != RootPosition) {
    const int up = tree.NodeParent[c];
    bits.push_back(c - tree.NodeChild[up]);
    c = up;
  }
  std::reverse(bits.begin(), bits.end());
  return bits;
}

std::string CheckTree(const lzh::CodeTree& tree) {
  const std::uint16_t* w = tree.NodeWeight;
  const std::int16_t* child = tree.NodeChild;
  const std::int16_t* parent = tree.NodeParent;
  if (w[TreeSize] != 0xFFFF) return "sentinel changed";
  if (parent[RootPosition] != 0) return "root's parent entry is not 0";
  if (w[RootPosition] > 0x8000) return "root weight above 0x8000";
  std::vector<int> leaf_seen(SymbolCount, 0);
  std::vector<int> node_seen(TreeSize, 0);
  for (int p = 0; p < TreeSize; ++p) {
    const std::string at = " at " + std::to_string(p);
    if (p > 0 && w[p - 1] > w[p]) return "sibling order broken" + at;
    if (w[p] == 0) return "zero weight" + at;
    if (p != RootPosition && w[p] > 0x7FFF) return "weight above 0x7FFF" + at;
    const int c = child[p];
    if (c >= TreeSize) {
      const int s = c - TreeSize;
      if (s >= SymbolCount) return "bad leaf symbol" + at;
      ++leaf_seen[s];
      if (parent[TreeSize + s] != p) return "leaf map wrong for symbol " + std::to_string(s);
    } else {
      if (c < 0 || c + 1 >= p) return "child not below its parent" + at;
      if (w[c] + w[c + 1] != w[p]) return "weight is not the sum of the children" + at;
      if (parent[c] != p || parent[c + 1] != p) return "children's parent entries wrong" + at;
      ++node_seen[c];
      ++node_seen[c + 1];
    }
  }
  for (int s = 0; s < SymbolCount; ++s) {
    if (leaf_seen[s] != 1) return "symbol " + std::to_string(s) + " not exactly once";
  }
  for (int p = 0; p < RootPosition; ++p) {
    if (node_seen[p] != 1) return "position " + std::to_string(p) + " is not exactly one child";
  }
  return "";
}

StreamBuilder::StreamBuilder() { lzh::InitModel(storage_.tree); }

void StreamBuilder::Bits(std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    if (pending_bits_ == 0) bytes_.push_back(0);
    if ((value >> i) & 1u) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> pending_bits_);
    pending_bits_ = (pending_bits_ + 1) % 8;
  }
}

void StreamBuilder::Symbol(unsigned symbol) {
  for (int bit : CodeOf(storage_.tree, symbol)) Bits(static_cast<std::uint32_t>(bit), 1);
  lzh::UpdateModel(storage_.tree, symbol);
}

void StreamBuilder::Offset(int offset) {
  // Upper 6 bits as a prefix code, then the lower 6 bits as they are.
  const int u = offset >> 6;
  if (u == 0) {
    Bits(0, 3);
  } else if (u < 4) {
    Bits(static_cast<std::uint32_t>(u + 1), 4);
  } else if (u < 12) {
    Bits(static_cast<std::uint32_t>(u + 6), 5);
  } else if (u < 24) {
    Bits(static_cast<std::uint32_t>(u + 24), 6);
  } else if (u < 48) {
    Bits(static_cast<std::uint32_t>(u + 72), 7);
  } else {
    Bits(static_cast<std::uint32_t>(u + 192), 8);
  }
  Bits(static_cast<std::uint32_t>(offset & 0x3F), 6);
}

void StreamBuilder::Match(int length, int offset) {
  Symbol(static_cast<unsigned>(length + 253));
  Offset(offset);
}

std::vector<std::uint8_t> StreamBuilder::Bytes() const { return bytes_; }

std::vector<std::uint8_t> GreedyCompress(const std::vector<std::uint8_t>& input, int max_chain) {
  StreamBuilder out;
  const std::size_t n = input.size();
  constexpr int kHashBits = 15;
  std::vector<std::int64_t> head(std::size_t{1} << kHashBits, -1);
  std::vector<std::int64_t> prev(n, -1);
  auto hash = [&](std::size_t i) {
    const std::uint32_t v = input[i] | input[i + 1] << 8 | input[i + 2] << 16;
    return (v * 2654435761u) >> (32 - kHashBits);
  };
  auto insert = [&](std::size_t i) {
    if (i + 3 > n) return;
    const auto h = hash(i);
    prev[i] = head[h];
    head[h] = static_cast<std::int64_t>(i);
  };
  std::size_t i = 0;
  while (i < n) {
    std::size_t best_length = 0;
    std::size_t best_distance = 0;
    if (i + 3 <= n) {
      const std::size_t limit = std::min<std::size_t>(60, n - i);
      std::int64_t candidate = head[hash(i)];
      for (int chain = 0; candidate >= 0 && chain < max_chain; ++chain) {
        const std::size_t distance = i - static_cast<std::size_t>(candidate);
        if (distance > 4096) break;
        std::size_t length = 0;
        while (length < limit && input[static_cast<std::size_t>(candidate) + length] == input[i + length]) {
          ++length;
        }
        if (length > best_length) {
          best_length = length;
          best_distance = distance;
        }
        candidate = prev[static_cast<std::size_t>(candidate)];
      }
    }
    if (best_length >= 3) {
      out.Match(static_cast<int>(best_length), static_cast<int>(best_distance - 1));
      for (std::size_t k = 0; k < best_length; ++k) insert(i + k);
      i += best_length;
    } else {
      out.Literal(input[i]);
      insert(i);
      ++i;
    }
  }
  return out.Bytes();
}

}  // namespace lzh_test

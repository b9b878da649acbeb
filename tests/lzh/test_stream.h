// Test-side stream builder: codes literals and matches under the adaptive
// code and the offset code, most significant bit first, padding the last
// byte with zero bits. Written for the decoder's tests from the format's
// rules, independent of the container writer; it also checks the tree's
// invariants. Small and slow on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lzh/code_model.h"

namespace lzh_test {

// The three tree arrays in plain storage.
struct TreeStorage {
  std::vector<std::uint16_t> weight = std::vector<std::uint16_t>(lzh::NodeWeightEntries);
  std::vector<std::int16_t> child = std::vector<std::int16_t>(lzh::NodeChildEntries);
  std::vector<std::int16_t> parent = std::vector<std::int16_t>(lzh::NodeParentEntries);
  lzh::CodeTree tree{weight.data(), child.data(), parent.data()};

  TreeStorage() = default;
  TreeStorage(const TreeStorage&) = delete;
  TreeStorage& operator=(const TreeStorage&) = delete;
};

// The bits (0/1, in reading order) that carry symbol s in the tree as it is.
std::vector<int> CodeOf(const lzh::CodeTree& tree, unsigned symbol);

// Empty when the tree is sound; otherwise the first broken rule.
std::string CheckTree(const lzh::CodeTree& tree);

class StreamBuilder {
 public:
  StreamBuilder();
  void Literal(std::uint8_t byte) { Symbol(byte); }
  // length 3..60, offset 0..4095
  void Match(int length, int offset);
  void Symbol(unsigned symbol);
  void Offset(int offset);
  void Bits(std::uint32_t value, int count);
  // The stream so far, the last byte padded with zero bits.
  std::vector<std::uint8_t> Bytes() const;
  const lzh::CodeTree& Tree() const { return storage_.tree; }

 private:
  TreeStorage storage_;
  std::vector<std::uint8_t> bytes_;
  int pending_bits_ = 0;  // bits used in the last byte of bytes_, 0 = none open
};

// A plain greedy LZ coder over the output produced so far (matches reach
// back at most 4096 bytes, lengths 3..60); max_chain bounds the search.
std::vector<std::uint8_t> GreedyCompress(const std::vector<std::uint8_t>& input, int max_chain = 8);

}  // namespace lzh_test

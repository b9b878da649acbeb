// The adaptive code model: the start state, decoding from zero bits, the
// rebuild at the weight limit, and the tree's invariants after long symbol
// sequences with many rebuilds, against an independently kept leaf count.
#include "lzh/code_model.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lzh/symbol_decoder.h"
#include "tests/lzh/test_stream.h"

namespace {

using lzh_test::CheckTree;
using lzh_test::CodeOf;
using lzh_test::TreeStorage;

std::vector<int> Bits(const std::string& text) {
  std::vector<int> bits;
  for (char ch : text) {
    if (ch == '0' || ch == '1') bits.push_back(ch - '0');
  }
  return bits;
}

struct ZeroReader {
  int calls = 0;
  void operator()(std::uint8_t*, std::uint16_t, std::uint16_t& delivered) {
    ++calls;
    delivered = 0;
  }
};

// Weight of symbol s's leaf.
unsigned LeafWeight(const lzh::CodeTree& tree, unsigned s) {
  return tree.NodeWeight[tree.NodeParent[lzh::TreeSize + s]];
}

TEST(CodeModel, StartState) {
  TreeStorage t;
  lzh::InitModel(t.tree);
  EXPECT_EQ(CheckTree(t.tree), "");
  EXPECT_EQ(t.tree.NodeWeight[lzh::RootPosition], 314);
  EXPECT_EQ(CodeOf(t.tree, 0), Bits("110 001 100"));
  EXPECT_EQ(CodeOf(t.tree, 97), Bits("111 101 101"));
  EXPECT_EQ(CodeOf(t.tree, 255), Bits("100 010 11"));
  EXPECT_EQ(CodeOf(t.tree, 256), Bits("100 011 00"));
  EXPECT_EQ(CodeOf(t.tree, 313), Bits("110 001 01"));
  for (unsigned s = 0; s < lzh::SymbolCount; ++s) {
    EXPECT_EQ(CodeOf(t.tree, s).size(), s < 116 ? 9u : 8u) << s;
  }
}

TEST(CodeModel, InitModelForgetsAnEarlierRun) {
  TreeStorage fresh;
  lzh::InitModel(fresh.tree);
  TreeStorage used;
  lzh::InitModel(used.tree);
  for (unsigned i = 0; i < 40000; ++i) lzh::UpdateModel(used.tree, (i * 7) % 314);
  lzh::InitModel(used.tree);
  EXPECT_EQ(used.weight, fresh.weight);
  EXPECT_EQ(used.child, fresh.child);
  for (int p = 0; p < lzh::NodeParentEntries; ++p) {
    ASSERT_EQ(used.parent[p], fresh.parent[p]) << p;
  }
}

TEST(CodeModel, ZeroBitsDecodeAKnownSequence) {
  TreeStorage t;
  lzh::InitModel(t.tree);
  lzh::BitReader bits;
  ZeroReader read;
  std::vector<unsigned> symbols;
  for (int i = 0; i < 8; ++i) symbols.push_back(lzh::DecodeSymbol(bits, t.tree, read));
  EXPECT_EQ(symbols, (std::vector<unsigned>{116, 313, 312, 311, 310, 309, 308, 307}));
  EXPECT_EQ(t.tree.NodeWeight[lzh::RootPosition], 322);
  EXPECT_EQ(CheckTree(t.tree), "");
}

TEST(CodeModel, RebuildAtTheWeightLimit) {
  TreeStorage t;
  lzh::InitModel(t.tree);
  for (int i = 0; i < 0x8000 - 314; ++i) lzh::UpdateModel(t.tree, 65);
  ASSERT_EQ(CheckTree(t.tree), "");
  EXPECT_EQ(t.tree.NodeWeight[lzh::RootPosition], 0x8000);
  EXPECT_EQ(LeafWeight(t.tree, 65), 0x8000u - 313);

  lzh::UpdateModel(t.tree, 66);
  EXPECT_EQ(CheckTree(t.tree), "");
  const unsigned heavy = (0x8000u - 312) / 2;
  for (unsigned s = 0; s < lzh::SymbolCount; ++s) {
    EXPECT_EQ(LeafWeight(t.tree, s), s == 65 ? heavy : s == 66 ? 2u : 1u) << s;
  }
  EXPECT_EQ(t.tree.NodeWeight[lzh::RootPosition], heavy + 314);
}

// Symbols drawn from a shifting, skewed distribution, so that nodes climb
// past long blocks of equal weight and the root reaches the limit often.
class SymbolSource {
 public:
  explicit SymbolSource(unsigned seed) : random_(seed) {}
  unsigned Next() {
    if (++drawn_ % 20000 == 0) favourite_ = random_() % 314;
    switch (random_() % 4) {
      case 0: return favourite_;
      case 1: return (favourite_ + random_() % 8) % 314;
      case 2: return random_() % 314;
      default: return 256 + random_() % 58;
    }
  }

 private:
  std::mt19937 random_;
  unsigned favourite_ = 0;
  unsigned drawn_ = 0;
};

TEST(CodeModel, InvariantsHoldThroughLongSequences) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    TreeStorage t;
    lzh::InitModel(t.tree);
    // Leaf weights kept on the side: +1 per symbol, halved upward per rebuild.
    std::vector<unsigned> expected(lzh::SymbolCount, 1);
    SymbolSource source(seed);
    int rebuilds = 0;
    for (int i = 0; i < 400000; ++i) {
      const unsigned s = source.Next();
      if (t.tree.NodeWeight[lzh::RootPosition] == 0x8000) {
        ++rebuilds;
        for (auto& w : expected) w = (w + 1) / 2;
      }
      lzh::UpdateModel(t.tree, s);
      ++expected[s];
      if (i % 997 == 0 || t.tree.NodeWeight[lzh::RootPosition] == 0x8000) {
        ASSERT_EQ(CheckTree(t.tree), "") << "after symbol " << i;
        for (unsigned k = 0; k < lzh::SymbolCount; ++k) {
          ASSERT_EQ(LeafWeight(t.tree, k), expected[k]) << "symbol " << k << " after " << i;
        }
      }
    }
    EXPECT_GE(rebuilds, 10);
    EXPECT_EQ(CheckTree(t.tree), "");
  }
}

TEST(CodeModel, ChildOffsetsKeepInStepWithTheTree) {
  // The decoder's walk runs on ChildOffsets: after the start state, every
  // exchange and every rebuild it must hold twice each NodeChild entry, and
  // keeping it must change nothing else.
  TreeStorage kept;
  TreeStorage plain;
  std::vector<std::uint16_t> offsets(lzh::NodeChildEntries, 0xEEEE);
  kept.tree.ChildOffsets = offsets.data();
  auto in_step = [&]() -> std::string {
    for (int p = 0; p < lzh::NodeChildEntries; ++p) {
      if (offsets[p] != 2 * kept.child[p]) return "position " + std::to_string(p);
    }
    return "";
  };
  lzh::InitModel(kept.tree);
  lzh::InitModel(plain.tree);
  ASSERT_EQ(in_step(), "");
  SymbolSource source(4);
  int rebuilds = 0;
  for (int i = 0; i < 200000; ++i) {
    const unsigned s = source.Next();
    const bool rebuild = kept.tree.NodeWeight[lzh::RootPosition] == 0x8000;
    rebuilds += rebuild;
    lzh::UpdateModel(kept.tree, s);
    lzh::UpdateModel(plain.tree, s);
    if (rebuild || i % 991 == 0) {
      ASSERT_EQ(in_step(), "") << "after symbol " << i;
    }
  }
  EXPECT_GE(rebuilds, 5);
  EXPECT_EQ(kept.weight, plain.weight);
  EXPECT_EQ(kept.child, plain.child);
  EXPECT_EQ(kept.parent, plain.parent);
}

TEST(CodeModel, UpdateFromTheDeepestTieMatchesUpdateModel) {
  // The decoder finds on the way down where the update's first exchange
  // falls and raises the nodes below it without comparing; the tree must end
  // as UpdateModel leaves it, whether no node, the leaf or a node further up
  // ties, and across rebuilds (taken by UpdateModel itself).
  TreeStorage fast;
  TreeStorage plain;
  std::vector<std::uint16_t> offsets(lzh::NodeChildEntries);
  fast.tree.ChildOffsets = offsets.data();
  lzh::InitModel(fast.tree);
  lzh::InitModel(plain.tree);
  SymbolSource source(5);
  int no_tie = 0, leaf_tie = 0, inner_tie = 0;
  std::int16_t path[lzh::SymbolCount];
  for (int i = 0; i < 300000; ++i) {
    const unsigned s = source.Next();
    if (fast.tree.NodeWeight[lzh::RootPosition] == lzh::WeightLimit) {
      lzh::UpdateModel(fast.tree, s);
    } else {
      const std::vector<int> code = CodeOf(fast.tree, s);
      std::size_t next = 0;
      auto next_bit = [&]() -> std::ptrdiff_t { return code[next++]; };
      std::int16_t* end = path;
      std::int16_t* tie = nullptr;
      ASSERT_EQ(lzh::symbol_detail::WalkFindingTie(offsets.data(), fast.tree.NodeWeight, path,
                                                   &end, &tie, next_bit),
                s)
          << "symbol " << i;
      ASSERT_EQ(static_cast<std::size_t>(end - path), code.size());
      no_tie += tie == nullptr;
      leaf_tie += tie != nullptr && tie == end - 1;
      inner_tie += tie != nullptr && tie != end - 1;
      lzh::CompleteRaise(fast.tree, path, end, tie);
    }
    lzh::UpdateModel(plain.tree, s);
    if (i % 97 == 0) {
      ASSERT_EQ(fast.weight, plain.weight) << "after symbol " << i;
      ASSERT_EQ(fast.child, plain.child) << "after symbol " << i;
      ASSERT_EQ(fast.parent, plain.parent) << "after symbol " << i;
    }
  }
  EXPECT_GT(no_tie, 1000);
  EXPECT_GT(leaf_tie, 1000);
  EXPECT_GT(inner_tie, 1000);
  EXPECT_EQ(fast.weight, plain.weight);
  EXPECT_EQ(fast.child, plain.child);
  EXPECT_EQ(fast.parent, plain.parent);
  for (int p = 0; p < lzh::NodeChildEntries; ++p) ASSERT_EQ(offsets[p], 2 * fast.child[p]) << p;
}

TEST(CodeModel, HeavySymbolsGetShortCodes) {
  // After a skewed run the code is a prefix code whose lengths follow the
  // weights: a heavier leaf never has a longer code than a lighter one.
  TreeStorage t;
  lzh::InitModel(t.tree);
  SymbolSource source(9);
  for (int i = 0; i < 100000; ++i) lzh::UpdateModel(t.tree, source.Next());
  std::vector<std::size_t> length(lzh::SymbolCount);
  for (unsigned s = 0; s < lzh::SymbolCount; ++s) length[s] = CodeOf(t.tree, s).size();
  for (unsigned a = 0; a < lzh::SymbolCount; ++a) {
    for (unsigned b = 0; b < lzh::SymbolCount; ++b) {
      if (LeafWeight(t.tree, a) > LeafWeight(t.tree, b)) {
        ASSERT_LE(length[a], length[b]) << a << " " << b;
      }
    }
  }
}

TEST(CodeModel, DecodingFollowsTheCode) {
  // Codes read off the tree decode to their symbols, through every rebuild.
  lzh_test::StreamBuilder stream;
  SymbolSource source(4);
  std::vector<unsigned> sent;
  for (int i = 0; i < 100000; ++i) {
    sent.push_back(source.Next());
    stream.Symbol(sent.back());
  }
  const std::vector<std::uint8_t> bytes = stream.Bytes();
  struct Reader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t position = 0;
    void operator()(std::uint8_t* buffer, std::uint16_t, std::uint16_t& delivered) {
      delivered = position < bytes->size() ? 1 : 0;
      if (delivered) *buffer = (*bytes)[position++];
    }
  } read{&bytes};
  TreeStorage t;
  lzh::InitModel(t.tree);
  lzh::BitReader bits;
  for (std::size_t i = 0; i < sent.size(); ++i) {
    ASSERT_EQ(lzh::DecodeSymbol(bits, t.tree, read), sent[i]) << i;
  }
  // The decoder's update along the known path leaves the very tree that the
  // coder's UpdateModel left.
  const lzh::CodeTree& coder = stream.Tree();
  EXPECT_EQ(t.weight, std::vector<std::uint16_t>(coder.NodeWeight, coder.NodeWeight + lzh::NodeWeightEntries));
  EXPECT_EQ(t.child, std::vector<std::int16_t>(coder.NodeChild, coder.NodeChild + lzh::NodeChildEntries));
  EXPECT_EQ(t.parent, std::vector<std::int16_t>(coder.NodeParent, coder.NodeParent + lzh::NodeParentEntries));
}

}  // namespace

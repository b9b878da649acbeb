// Coding of symbols and offsets for the container writer.
#include "lzh/symbol_encoder.h"

#include <utility>

namespace lzh {
namespace pack {

SymbolEncoder::SymbolEncoder(ByteSink sink) : sink_(std::move(sink)) {
  tree_.NodeWeight = weight_.data();
  tree_.NodeChild = child_.data();
  tree_.NodeParent = parent_.data();
  InitModel(tree_);
  out_.reserve(kFlushSize + 16);
}

void SymbolEncoder::PutSymbol(unsigned symbol) {
  // Collect the path from the leaf up; the bit nearest the root is sent first,
  // so it ends up as the most significant bit of the code. The positions
  // walked are kept, root end first, so that the update can follow them
  // instead of the parent entries until its first exchange.
  std::uint64_t code = 0;
  int length = 0;
  std::int16_t path[kMaxDepth];
  int top = kMaxDepth;
  int c = parent_[TreeSize + symbol];
  while (c != RootPosition) {
    const int p = parent_[c];
    code |= static_cast<std::uint64_t>(c - child_[p]) << length;
    ++length;
    path[--top] = static_cast<std::int16_t>(c);
    c = p;
  }
  // A tree whose root weighs at most 0x8000 is far shallower than 64 levels;
  // send long codes in two pieces all the same.
  if (length > 32) {
    PutBits(static_cast<std::uint32_t>(code >> 32), length - 32);
    PutBits(static_cast<std::uint32_t>(code), 32);
  } else {
    PutBits(static_cast<std::uint32_t>(code), length);
  }
  UpdateModelAlongPath(tree_, symbol, path + top, length);
}

void SymbolEncoder::PutOffset(int offset) {
  const int high = offset >> 6;
  int prefix;
  int prefix_bits;
  if (high == 0) {
    prefix = 0, prefix_bits = 3;
  } else if (high < 4) {
    prefix = high + 1, prefix_bits = 4;
  } else if (high < 12) {
    prefix = high + 6, prefix_bits = 5;
  } else if (high < 24) {
    prefix = high + 24, prefix_bits = 6;
  } else if (high < 48) {
    prefix = high + 72, prefix_bits = 7;
  } else {
    prefix = high + 192, prefix_bits = 8;
  }
  PutBits(static_cast<std::uint32_t>(prefix << 6 | (offset & 63)), prefix_bits + 6);
}

void SymbolEncoder::AllSymbolBits(std::uint8_t (&bits)[SymbolCount]) const {
  // Parents sit above their children, so one pass from the root down gives
  // every node its depth.
  std::uint8_t depth[TreeSize];
  depth[RootPosition] = 0;
  for (int p = RootPosition; p >= 0; --p) {
    const int c = child_[p];
    if (c < TreeSize) {
      depth[c] = static_cast<std::uint8_t>(depth[p] + 1);
      depth[c + 1] = static_cast<std::uint8_t>(depth[p] + 1);
    }
  }
  for (int s = 0; s < SymbolCount; ++s) bits[s] = depth[parent_[TreeSize + s]];
}

void SymbolEncoder::Finish() {
  if (pending_ > 0) {
    out_.push_back(static_cast<std::uint8_t>(accumulator_ << (8 - pending_)));
    pending_ = 0;
  }
  accumulator_ = 0;
  Flush();
}

void SymbolEncoder::Flush() {
  if (!out_.empty()) sink_(out_.data(), out_.size());
  out_.clear();
}

}  // namespace pack
}  // namespace lzh

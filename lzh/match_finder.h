// Hash-chain match finder over the writer's 4096-byte window. The buffer it
// searches starts with the 4036 spaces that the decoder's window holds before
// the first byte, so a match may reach back into them; positions before the
// buffer (the window's unwritten tail) are never offered. Lengths 3..60,
// distances 1..4096 (distance = offset + 1). Positions are inserted in rising
// order, each exactly once; a search at a position happens before it is
// inserted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "lzh/symbol_encoder.h"

namespace lzh {
namespace pack {

struct Match {
  int length = 0;    // 0 when nothing of at least MinMatch bytes was found
  int distance = 0;  // 1..4096
};

// How the candidates are chained: by their first three bytes (every match
// is on the chain: for AllMatches), or by their first four bytes with only
// the newest position of each three-byte hash kept beside the chains (fewer
// candidates to look at for the longest match: for Longest).
enum class Chaining { ThreeBytes, FourBytes };

class MatchFinder {
 public:
  // buffer must stay alive and unchanged while the finder is used.
  MatchFinder(const std::uint8_t* buffer, std::size_t size, Chaining chaining = Chaining::ThreeBytes);

  // Adds position pos to the chains (no-op for the last two positions).
  void Insert(std::size_t pos) {
    const std::uint32_t entry = static_cast<std::uint32_t>(pos);
    if (chaining_ == Chaining::FourBytes && pos + 4 <= size_) {
      // Both hashes from one load.
      const std::uint32_t v = Load32(pos);
      head3_[Mix(v & 0xFFFFFFu)] = entry;
      const std::uint32_t h = Mix(v);
      prev_[pos & (WindowSize - 1)] = head_[h];
      head_[h] = entry;
      return;
    }
    if (pos + MinMatch > size_) return;
    if (chaining_ == Chaining::FourBytes) {
      head3_[Hash(pos)] = entry;
      return;
    }
    const std::uint32_t h = Hash(pos);
    prev_[pos & (WindowSize - 1)] = head_[h];
    head_[h] = entry;
  }
  void InsertRange(std::size_t from, std::size_t to) {
    for (std::size_t p = from; p < to; ++p) Insert(p);
  }

  // How far a search for the longest match goes: it looks at no more than
  // max_chain candidates, ends at a match of nice_length bytes, and once it
  // has looked at enough_after candidates, ends if it holds a match of
  // enough_length bytes (past that point long chains mostly give back
  // the time they cost only where the match so far is short).
  struct Depth {
    int max_chain;
    int nice_length;
    int enough_after;
    int enough_length;
  };

  // The longest match at pos, the nearest one among equally long ones.
  Match Longest(std::size_t pos, const Depth& depth) const;

  // Every match at pos that is longer than all nearer ones, by rising length
  // and distance; out must hold MaxMatch entries. Returns how many.
  int AllMatches(std::size_t pos, int max_chain, Match* out) const;

 private:
  static constexpr int kHashBits = 16;
  // The top bits of a 64-bit product spread every input bit; a 32-bit
  // product of the same numbers left chains far more crowded.
  static std::uint32_t Mix(std::uint32_t v) {
    return static_cast<std::uint32_t>((v * 0x9E3779B97F4A7C15ull) >> (64 - kHashBits));
  }
  // The first three bytes at pos, and the first four, as one little-endian
  // number each (the machine is little-endian, as MatchLength assumes too).
  std::uint32_t Hash(std::size_t pos) const {
    return Mix(static_cast<std::uint32_t>(buffer_[pos]) | static_cast<std::uint32_t>(buffer_[pos + 1]) << 8 |
               static_cast<std::uint32_t>(buffer_[pos + 2]) << 16);
  }
  std::uint32_t Hash4(std::size_t pos) const { return Mix(Load32(pos)); }
  int MatchLength(std::size_t a, std::size_t b, int limit) const;
  std::uint32_t Load32(std::size_t at) const {
    std::uint32_t v;
    std::memcpy(&v, buffer_ + at, 4);
    return v;
  }

  const std::uint8_t* buffer_;
  std::size_t size_;
  Chaining chaining_;
  std::vector<std::uint32_t> head3_;  // FourBytes: newest position by three-byte hash
  // Positions are kept as they are; kNone, above every position of a buffer
  // that a container can hold, ends a chain.
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  std::vector<std::uint32_t> head_;  // the newest position by hash, or kNone
  std::vector<std::uint32_t> prev_;  // by position mod 4096: the next older entry
};

}  // namespace pack
}  // namespace lzh

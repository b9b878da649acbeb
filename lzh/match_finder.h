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
    if (pos + MinMatch > size_) return;
    const std::uint32_t entry = static_cast<std::uint32_t>(pos + 1);
    if (chaining_ == Chaining::FourBytes) {
      head3_[Hash(pos)] = entry;
      if (pos + 4 > size_) return;
      const std::uint32_t h = Hash4(pos);
      prev_[pos & (WindowSize - 1)] = head_[h];
      head_[h] = entry;
      return;
    }
    const std::uint32_t h = Hash(pos);
    prev_[pos & (WindowSize - 1)] = head_[h];
    head_[h] = entry;
  }
  void InsertRange(std::size_t from, std::size_t to) {
    for (std::size_t p = from; p < to; ++p) Insert(p);
  }

  // The longest match at pos, the nearest one among equally long ones,
  // looking at no more than max_chain candidates and stopping at a match of
  // nice_length bytes.
  Match Longest(std::size_t pos, int max_chain, int nice_length) const;

  // Every match at pos that is longer than all nearer ones, by rising length
  // and distance; out must hold MaxMatch entries. Returns how many.
  int AllMatches(std::size_t pos, int max_chain, Match* out) const;

 private:
  static constexpr int kHashBits = 16;
  std::uint32_t Hash(std::size_t pos) const {
    const std::uint32_t v = static_cast<std::uint32_t>(buffer_[pos]) << 16 |
                            static_cast<std::uint32_t>(buffer_[pos + 1]) << 8 | buffer_[pos + 2];
    return (v * 2654435761u) >> (32 - kHashBits);
  }
  std::uint32_t Hash4(std::size_t pos) const {
    const std::uint32_t v = static_cast<std::uint32_t>(buffer_[pos]) << 24 |
                            static_cast<std::uint32_t>(buffer_[pos + 1]) << 16 |
                            static_cast<std::uint32_t>(buffer_[pos + 2]) << 8 | buffer_[pos + 3];
    return (v * 2654435761u) >> (32 - kHashBits);
  }
  int MatchLength(std::size_t a, std::size_t b, int limit) const;
  std::uint32_t Load32(std::size_t at) const;

  const std::uint8_t* buffer_;
  std::size_t size_;
  Chaining chaining_;
  std::vector<std::uint32_t> head3_;  // FourBytes: newest position + 1 by three-byte hash
  std::vector<std::uint32_t> head_;  // position + 1 of the newest entry, 0 = none
  std::vector<std::uint32_t> prev_;  // by position mod 4096: the next older entry
};

}  // namespace pack
}  // namespace lzh

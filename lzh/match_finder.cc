// Hash-chain search for the container writer.
#include "lzh/match_finder.h"

#include <algorithm>
#include <cstring>

namespace lzh {
namespace pack {

MatchFinder::MatchFinder(const std::uint8_t* buffer, std::size_t size, Chaining chaining)
    : buffer_(buffer),
      size_(size),
      chaining_(chaining),
      head3_(chaining == Chaining::FourBytes ? std::size_t{1} << kHashBits : 0, kNone),
      head_(std::size_t{1} << kHashBits, kNone),
      prev_(WindowSize, kNone) {}

int MatchFinder::MatchLength(std::size_t a, std::size_t b, int limit) const {
  int n = 0;
  while (n + 8 <= limit) {
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, buffer_ + a + n, 8);
    std::memcpy(&y, buffer_ + b + n, 8);
    if (x != y) {
      const std::uint64_t diff = x ^ y;
      // Little-endian loads: the first differing byte is the lowest set one.
      int k = 0;
      while (((diff >> (8 * k)) & 0xFF) == 0) ++k;
      return n + k;
    }
    n += 8;
  }
  while (n < limit && buffer_[a + n] == buffer_[b + n]) ++n;
  return n;
}

Match MatchFinder::Longest(std::size_t pos, const Depth& depth) const {
  Match best;
  const int limit = static_cast<int>(std::min<std::size_t>(MaxMatch, size_ - pos));
  if (limit < MinMatch) return best;
  const int nice_length = std::min(depth.nice_length, limit);
  int best_length = MinMatch - 1;
  std::uint32_t entry;
  if (chaining_ == Chaining::FourBytes) {
    // The nearest three-byte match first, then the chain of four-byte ones.
    const std::size_t near = head3_[Hash(pos)];
    if (near < pos && pos - near <= static_cast<std::size_t>(WindowSize)) {
      const int n = MatchLength(near, pos, limit);
      if (n >= MinMatch) {
        best_length = n;
        best.length = n;
        best.distance = static_cast<int>(pos - near);
        if (n >= nice_length) return best;
      }
    }
    if (limit < 4) return best;
    entry = head_[Hash4(pos)];
  } else {
    entry = head_[Hash(pos)];
  }
  std::size_t newer = pos;
  for (int looked = 0; looked < depth.max_chain; ++looked) {
    if (looked == depth.enough_after && best_length >= depth.enough_length) break;
    const std::size_t cand = entry;
    // The end of the chain (kNone), older than the window, or a stale slot
    // from an earlier round: stop.
    if (cand >= newer || pos - cand > static_cast<std::size_t>(WindowSize)) break;
    // Only a candidate that agrees on the bytes up to the best length so far
    // can be longer; the last four of them reject most.
    const bool worth = best_length >= 3
                           ? Load32(cand + best_length - 3) == Load32(pos + best_length - 3)
                           : buffer_[cand + best_length] == buffer_[pos + best_length];
    if (worth) {
      const int n = MatchLength(cand, pos, limit);
      if (n > best_length) {
        best_length = n;
        best.length = n;
        best.distance = static_cast<int>(pos - cand);
        if (n >= nice_length) break;
      }
    }
    newer = cand;
    entry = prev_[cand & (WindowSize - 1)];
  }
  return best;
}

int MatchFinder::AllMatches(std::size_t pos, int max_chain, Match* out) const {
  // Every match of three bytes or more is on a three-byte chain.
  if (chaining_ != Chaining::ThreeBytes) return 0;
  const int limit = static_cast<int>(std::min<std::size_t>(MaxMatch, size_ - pos));
  if (limit < MinMatch) return 0;
  int count = 0;
  std::uint32_t entry = head_[Hash(pos)];
  int best_length = MinMatch - 1;
  std::size_t newer = pos;
  while (max_chain-- > 0) {
    const std::size_t cand = entry;
    if (cand >= newer || pos - cand > static_cast<std::size_t>(WindowSize)) break;
    if (buffer_[cand + best_length] == buffer_[pos + best_length]) {
      const int n = MatchLength(cand, pos, limit);
      if (n > best_length) {
        best_length = n;
        out[count].length = n;
        out[count].distance = static_cast<int>(pos - cand);
        ++count;
        if (n >= limit) break;
      }
    }
    newer = cand;
    entry = prev_[cand & (WindowSize - 1)];
  }
  return count;
}

}  // namespace pack
}  // namespace lzh

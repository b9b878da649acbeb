// Lazy matching: before taking the match found at a position, look at the
// next position; when a literal followed by the match there costs fewer bits
// per byte under the current code, send the literal instead.
#include <algorithm>
#include <cstddef>

#include "lzh/match_finder.h"
#include "lzh/parsers.h"

namespace lzh {
namespace pack {
namespace {

constexpr int kMaxChain = 48;
constexpr int kNiceLength = MaxMatch;
// A match at least this long is taken without looking further.
constexpr int kLazyLimit = 32;
constexpr int kScale = 4;
constexpr int kRestBits = 22;
constexpr std::size_t kProgressStep = std::size_t{1} << 20;

int MatchBits(const SymbolEncoder& encoder, const Match& m) {
  return encoder.SymbolBits(static_cast<unsigned>(m.length + 253)) + OffsetBits(m.distance - 1);
}

}  // namespace

void ParseLazy(const std::uint8_t* buffer, std::size_t size, SymbolEncoder& encoder,
               const ProgressFn& progress) {
  MatchFinder finder(buffer, size);
  finder.InsertRange(0, WindowStart);
  std::size_t pos = WindowStart;
  std::size_t next_report = pos + kProgressStep;
  Match current = finder.Longest(pos, kMaxChain, kNiceLength);
  while (pos < size) {
    if (progress && pos >= next_report) {
      progress(pos - WindowStart);
      next_report = pos + kProgressStep;
    }
    finder.Insert(pos);
    if (current.length < MinMatch) {
      encoder.PutLiteral(buffer[pos]);
      ++pos;
      current = finder.Longest(pos, kMaxChain, kNiceLength);
      continue;
    }
    if (current.length < kLazyLimit) {
      const Match next = finder.Longest(pos + 1, kMaxChain, kNiceLength);
      if (next.length >= current.length) {
        // Compare over the same span, the shorter side's rest counted at an
        // estimated rate for bytes that a later match will cover.
        const int span = std::max(current.length, next.length + 1);
        const int bits_now = MatchBits(encoder, current) * kScale + (span - current.length) * kRestBits;
        const int bits_later = (encoder.SymbolBits(buffer[pos]) + MatchBits(encoder, next)) * kScale +
                               (span - next.length - 1) * kRestBits;
        if (bits_later < bits_now) {
          encoder.PutLiteral(buffer[pos]);
          ++pos;
          current = next;
          continue;
        }
      }
    }
    if (current.length == MinMatch) {
      // A short far match may cost more than its bytes sent as literals.
      const int literal_bits = encoder.SymbolBits(buffer[pos]) +
                               encoder.SymbolBits(buffer[pos + 1]) +
                               encoder.SymbolBits(buffer[pos + 2]);
      if (literal_bits <= MatchBits(encoder, current)) {
        encoder.PutLiteral(buffer[pos]);
        ++pos;
        current = finder.Longest(pos, kMaxChain, kNiceLength);
        continue;
      }
    }
    encoder.PutMatch(current.length, current.distance - 1);
    finder.InsertRange(pos + 1, pos + static_cast<std::size_t>(current.length));
    pos += static_cast<std::size_t>(current.length);
    current = finder.Longest(pos, kMaxChain, kNiceLength);
  }
  if (progress) progress(size - WindowStart);
}

}  // namespace pack
}  // namespace lzh

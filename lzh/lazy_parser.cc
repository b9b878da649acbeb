// Lazy matching: before taking the match found at a position, look at the
// matches one and two bytes further on. When one or two literals followed by
// such a match cost fewer bits under the current code (the options compared
// over the same span, bytes that an option leaves uncovered counted at a
// typical rate), send a literal and decide again at the next position. One
// literal wins a near tie; two literals must save clearly more.
#include <algorithm>
#include <cstddef>

#include "lzh/match_finder.h"
#include "lzh/parsers.h"

namespace lzh {
namespace pack {
namespace {

// The search at a position that the parser is at; the look one byte on,
// where the match at hand is long already, looks at fewer candidates.
constexpr MatchFinder::Depth kSearchDepth = {640, MaxMatch, 256, 8};
constexpr MatchFinder::Depth kShallowDepth = {160, MaxMatch, 160, MaxMatch};  // no early end
constexpr int kShallowFrom = 16;
// A match at least this long is taken without looking further; one shorter
// than kSecondLookLimit is also compared with two literals and a match.
constexpr int kLazyLimit = MaxMatch;
constexpr int kSecondLookLimit = 5;
// Costs are compared in quarter bits; a byte that an option leaves to later
// symbols is counted at kRestBits quarters.
constexpr int kScale = 4;
constexpr int kRestBits = 22;
// One literal and a match go first even when they cost up to this much more
// than the match at hand (the literal weights gain, and the longer match
// tends to end where the next match starts better); two literals and a match
// must cost this much less.
constexpr int kFirstLookSlack = 4;
constexpr int kSecondLookGain = 32;
// Symbols sent between two readings of the code lengths.
constexpr int kRefresh = 256;
constexpr std::size_t kProgressStep = std::size_t{1} << 20;

class LazyParser {
 public:
  LazyParser(const std::uint8_t* buffer, std::size_t size, SymbolEncoder& encoder)
      : buffer_(buffer), size_(size), encoder_(encoder), finder_(buffer, size, Chaining::FourBytes) {}

  void Run(const ProgressFn& progress) {
    finder_.InsertRange(0, WindowStart);
    inserted_ = WindowStart;
    Sent();
    std::size_t pos = WindowStart;
    std::size_t next_report = pos + kProgressStep;
    Match current = Search(pos);
    while (pos < size_) {
      if (progress && pos >= next_report) {
        progress(pos - WindowStart);
        next_report = pos + kProgressStep;
      }
      if (current.length >= MinMatch && current.length < kLazyLimit) {
        const Match next =
            Search(pos + 1, current.length >= kShallowFrom ? kShallowDepth : kSearchDepth);
        const bool literal_first =
            LiteralsFirst(pos, current, next, 1, -kFirstLookSlack) ||
            (current.length < kSecondLookLimit &&
             LiteralsFirst(pos, current, Search(pos + 2), 2, kSecondLookGain));
        if (literal_first) {
          encoder_.PutLiteral(buffer_[pos]);
          Sent();
          ++pos;
          current = next;
          continue;
        }
      }
      if (current.length < MinMatch || MatchCostsMoreThanLiterals(pos, current)) {
        encoder_.PutLiteral(buffer_[pos]);
        ++pos;
      } else {
        encoder_.PutMatch(current.length, current.distance - 1);
        pos += static_cast<std::size_t>(current.length);
      }
      Sent();
      current = Search(pos);
    }
    if (progress) progress(size_ - WindowStart);
  }

 private:
  // The longest match at pos, with every earlier position in the chains.
  // The parser may ask for a position again after later ones went into the
  // chains; the last few answers are kept for that.
  Match Search(std::size_t pos, const MatchFinder::Depth& depth = kSearchDepth) {
    if (pos >= size_) return Match{};
    for (const Answer& a : answers_) {
      if (a.pos == pos) return a.match;
    }
    if (inserted_ < pos) {
      finder_.InsertRange(inserted_, pos);
      inserted_ = pos;
    }
    const Match m = finder_.Longest(pos, depth);
    answers_[next_answer_] = {pos, m};
    next_answer_ = (next_answer_ + 1) % kAnswers;
    return m;
  }

  // Code lengths, taken from the tree every kRefresh symbols: they drift
  // slowly, and a walk up the tree per question would cost more.
  int Bits(unsigned symbol) const { return bits_[symbol]; }
  void Sent() {
    if (--until_refresh_ <= 0) {
      encoder_.AllSymbolBits(bits_);
      until_refresh_ = kRefresh;
    }
  }

  int MatchBits(const Match& m) const {
    return Bits(static_cast<unsigned>(m.length + 253)) + OffsetBits(m.distance - 1);
  }

  // Whether `skipped` literals from pos followed by the match `later` cost
  // less than the match `current` at pos, over the span that both cover, by
  // more than `gain` quarter bits (a negative gain lets them cost more).
  bool LiteralsFirst(std::size_t pos, const Match& current, const Match& later, int skipped,
                     int gain) const {
    const int later_end = skipped + later.length;
    if (later.length < MinMatch || later_end < current.length ||
        (later_end == current.length && (skipped > 1 || later.distance >= current.distance))) {
      return false;
    }
    const int span = std::max(current.length, later_end);
    const int now = MatchBits(current) * kScale + (span - current.length) * kRestBits;
    int literals = 0;
    for (int i = 0; i < skipped; ++i) literals += Bits(buffer_[pos + static_cast<std::size_t>(i)]);
    return (literals + MatchBits(later)) * kScale + (span - later_end) * kRestBits + gain < now;
  }

  // A short far match may cost more than its bytes sent as literals. At equal
  // cost the match is sent: one symbol instead of three leaves the literal
  // weights as they are, and the match-length weights gain.
  bool MatchCostsMoreThanLiterals(std::size_t pos, const Match& m) const {
    if (m.length != MinMatch) return false;
    const int literal_bits = Bits(buffer_[pos]) + Bits(buffer_[pos + 1]) +
                             Bits(buffer_[pos + 2]);
    return literal_bits < MatchBits(m);
  }

  const std::uint8_t* buffer_;
  std::size_t size_;
  SymbolEncoder& encoder_;
  MatchFinder finder_;
  std::size_t inserted_ = 0;  // positions below this are in the chains
  struct Answer {
    std::size_t pos = 0;
    Match match;
  };
  static constexpr int kAnswers = 4;
  Answer answers_[kAnswers];
  int next_answer_ = 0;
  std::uint8_t bits_[SymbolCount];
  int until_refresh_ = 0;
};

}  // namespace

void ParseLazy(const std::uint8_t* buffer, std::size_t size, SymbolEncoder& encoder,
               const ProgressFn& progress) {
  LazyParser(buffer, size, encoder).Run(progress);
}

}  // namespace pack
}  // namespace lzh

// Near-optimal parse: the input is cut into blocks; for each block the code
// lengths that the adaptive tree has at the block's start price every
// literal and every match, a shortest path through the block picks the
// cheapest sequence, and that sequence is sent with the real, still adapting
// code. Matches are cut at the block's end.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "lzh/match_finder.h"
#include "lzh/parsers.h"

namespace lzh {
namespace pack {
namespace {

constexpr int kMaxChain = 512;
constexpr std::size_t kBlockSize = 4096;
constexpr std::size_t kProgressStep = std::size_t{1} << 20;

struct Step {
  std::uint32_t cost;
  std::uint16_t length;    // 1 for a literal
  std::uint16_t distance;  // 0 for a literal
};

}  // namespace

void ParseNearOptimal(const std::uint8_t* buffer, std::size_t size, SymbolEncoder& encoder,
                      const ProgressFn& progress) {
  MatchFinder finder(buffer, size);
  finder.InsertRange(0, WindowStart);

  std::vector<Match> matches(kBlockSize * MaxMatch);
  std::vector<std::uint8_t> match_count(kBlockSize);
  std::vector<Step> steps(kBlockSize + 1);
  std::vector<std::uint32_t> chosen;  // block offsets where a chosen step starts
  chosen.reserve(kBlockSize);
  std::uint8_t symbol_bits[SymbolCount];
  int offset_bits[WindowSize + 1];
  for (int d = 1; d <= WindowSize; ++d) offset_bits[d] = OffsetBits(d - 1);

  std::size_t next_report = WindowStart + kProgressStep;
  for (std::size_t start = WindowStart; start < size; start += kBlockSize) {
    const std::size_t n = std::min(kBlockSize, size - start);
    if (progress && start >= next_report) {
      progress(start - WindowStart);
      next_report = start + kProgressStep;
    }
    for (std::size_t k = 0; k < n; ++k) {
      match_count[k] = static_cast<std::uint8_t>(
          finder.AllMatches(start + k, kMaxChain, &matches[k * MaxMatch]));
      finder.Insert(start + k);
    }

    encoder.AllSymbolBits(symbol_bits);
    steps[0] = {0, 0, 0};
    for (std::size_t k = 1; k <= n; ++k) steps[k].cost = std::numeric_limits<std::uint32_t>::max();
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint32_t base = steps[k].cost;
      const std::uint32_t literal = base + symbol_bits[buffer[start + k]];
      if (literal < steps[k + 1].cost) steps[k + 1] = {literal, 1, 0};
      const Match* m = &matches[k * MaxMatch];
      const int room = static_cast<int>(n - k);
      int length = MinMatch;
      for (int i = 0; i < match_count[k] && length <= room; ++i) {
        const std::uint32_t with_offset = base + static_cast<std::uint32_t>(offset_bits[m[i].distance]);
        const int last = std::min(m[i].length, room);
        for (; length <= last; ++length) {
          const std::uint32_t cost = with_offset + symbol_bits[length + 253];
          Step& to = steps[k + static_cast<std::size_t>(length)];
          if (cost < to.cost) {
            to = {cost, static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(m[i].distance)};
          }
        }
      }
    }

    chosen.clear();
    for (std::size_t k = n; k > 0; k -= steps[k].length) chosen.push_back(static_cast<std::uint32_t>(k));
    for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) {
      const Step& s = steps[*it];
      if (s.length == 1) {
        encoder.PutLiteral(buffer[start + *it - 1]);
      } else {
        encoder.PutMatch(s.length, s.distance - 1);
      }
    }
  }
  if (progress) progress(size - WindowStart);
}

}  // namespace pack
}  // namespace lzh

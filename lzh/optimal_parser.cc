// Near-optimal parse: the input is cut into blocks; for each block the code
// lengths that the adaptive tree has at the block's start price every
// literal and every match, a shortest path through the block (and up to one
// longest match beyond it, so that matches may cross its end) picks the
// cheapest sequence, and the steps of that sequence that start inside the
// block are sent with the real, still adapting code.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "lzh/match_finder.h"
#include "lzh/parsers.h"

namespace lzh {
namespace pack {
namespace {

constexpr int kMaxChain = 512;
constexpr std::size_t kBlockSize = 4096;
constexpr std::size_t kSpan = kBlockSize + MaxMatch;  // positions priced per block
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

  // Matches of the positions from base on, found ahead up to base + kSpan.
  std::vector<Match> matches(kSpan * MaxMatch);
  std::vector<std::uint8_t> match_count(kSpan);
  std::vector<Step> steps(kSpan + 1);
  std::vector<std::uint32_t> chosen;  // offsets from base where chosen steps end
  chosen.reserve(kSpan);
  std::uint8_t symbol_bits[SymbolCount];
  std::uint32_t offset_price[WindowSize + 1];
  for (int d = 1; d <= WindowSize; ++d) {
    offset_price[d] = static_cast<std::uint32_t>(OffsetBits(d - 1));
  }

  std::size_t base = WindowStart;
  std::size_t found = WindowStart;  // next position to search and insert
  std::size_t next_report = WindowStart + kProgressStep;
  while (base < size) {
    if (progress && base >= next_report) {
      progress(base - WindowStart);
      next_report = base + kProgressStep;
    }
    const std::size_t block_end = std::min(base + kBlockSize, size);
    const std::size_t horizon = std::min(block_end + MaxMatch, size);
    for (; found < horizon; ++found) {
      const std::size_t k = found - base;
      match_count[k] = static_cast<std::uint8_t>(finder.AllMatches(found, kMaxChain, &matches[k * MaxMatch]));
      finder.Insert(found);
    }

    const std::size_t n = horizon - base;
    encoder.AllSymbolBits(symbol_bits);
    steps[0] = {0, 0, 0};
    for (std::size_t k = 1; k <= n; ++k) steps[k].cost = std::numeric_limits<std::uint32_t>::max();
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint32_t here = steps[k].cost;
      const std::uint32_t literal = here + symbol_bits[buffer[base + k]];
      if (literal < steps[k + 1].cost) steps[k + 1] = {literal, 1, 0};
      const Match* m = &matches[k * MaxMatch];
      const int room = static_cast<int>(n - k);
      int length = MinMatch;
      for (int i = 0; i < match_count[k] && length <= room; ++i) {
        const std::uint32_t with_offset = here + offset_price[m[i].distance];
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
    // Walk back from the horizon.
    chosen.clear();
    for (std::size_t k = n; k > 0; k -= steps[k].length) chosen.push_back(static_cast<std::uint32_t>(k));

    // Send the steps that start inside the block.
    std::size_t done = 0;
    for (auto it = chosen.rbegin(); it != chosen.rend() && base + done < block_end; ++it) {
      const Step& s = steps[*it];
      if (s.length == 1) {
        encoder.PutLiteral(buffer[base + done]);
      } else {
        encoder.PutMatch(s.length, s.distance - 1);
      }
      done = *it;
    }

    // Keep the matches already found beyond the new base.
    const std::size_t kept = found - (base + done);
    std::memmove(match_count.data(), match_count.data() + done, kept);
    std::memmove(matches.data(), matches.data() + done * MaxMatch, kept * MaxMatch * sizeof(Match));
    base += done;
  }
  if (progress) progress(size - WindowStart);
}

}  // namespace pack
}  // namespace lzh

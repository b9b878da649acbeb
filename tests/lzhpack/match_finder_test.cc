// The writer's match finder against a search of every candidate: with a
// depth that reaches the whole window it must give exactly the longest,
// nearest match at each position (a three-byte one may be missed where
// four-byte chains keep only the newest three-byte string per hash) (and, for the near-optimal parse, every
// match longer than all nearer ones), never reach past the window or the
// start of the buffer, and survive chains whose slots were reused rounds ago.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "lzh/match_finder.h"

namespace {

using lzh::pack::Chaining;
using lzh::pack::Match;
using lzh::pack::MatchFinder;
using lzh::pack::MaxMatch;
using lzh::pack::MinMatch;
using lzh::pack::WindowSize;
using Bytes = std::vector<std::uint8_t>;

constexpr MatchFinder::Depth kWholeWindow = {WindowSize, MaxMatch, WindowSize, MaxMatch};

int Common(const Bytes& b, std::size_t from, std::size_t pos) {
  const std::size_t limit = std::min<std::size_t>(MaxMatch, b.size() - pos);
  std::size_t n = 0;
  while (n < limit && b[from + n] == b[pos + n]) ++n;
  return static_cast<int>(n);
}

// Every match that is longer than all nearer ones, nearest first.
std::vector<Match> Improving(const Bytes& b, std::size_t pos) {
  std::vector<Match> out;
  int best = MinMatch - 1;
  for (std::size_t d = 1; d <= static_cast<std::size_t>(WindowSize) && d <= pos; ++d) {
    const int n = Common(b, pos - d, pos);
    if (n > best) {
      best = n;
      out.push_back({n, static_cast<int>(d)});
    }
  }
  return out;
}

// A small alphabet gives long chains and many matches of every length; a
// block repeated at distances 4095, 4096 and 4097 tests the window's edge;
// more than two windows long, so chain slots are reused.
Bytes Sample(unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(3 * WindowSize + 700);
  for (auto& x : b) x = static_cast<std::uint8_t>("abcd"[rng() % 4]);
  for (std::size_t i = 0; i < 80; ++i) b[200 + i] = static_cast<std::uint8_t>(rng());
  for (std::size_t shift : {4095, 4096, 4097}) {
    std::copy(b.begin() + 200, b.begin() + 280, b.begin() + 200 + 2 * static_cast<std::ptrdiff_t>(shift));
  }
  return b;
}

TEST(MatchFinder, LongestIsTheNearestOfTheLongestWithinTheWindow) {
  for (Chaining chaining : {Chaining::ThreeBytes, Chaining::FourBytes}) {
    for (unsigned seed : {1u, 2u}) {
      const Bytes b = Sample(seed);
      MatchFinder finder(b.data(), b.size(), chaining);
      for (std::size_t pos = 0; pos < b.size(); ++pos) {
        const std::vector<Match> all = Improving(b, pos);
        const Match want = all.empty() ? Match{} : all.back();
        const Match got = finder.Longest(pos, kWholeWindow);
        if (chaining == Chaining::FourBytes && want.length == MinMatch && got.length != MinMatch) {
          // Three-byte matches come from one slot per hash, which a later
          // string of the same hash takes over: one may be missed.
          ASSERT_EQ(got.length, 0) << "position " << pos;
        } else {
          ASSERT_EQ(got.length, want.length) << "position " << pos;
          ASSERT_EQ(got.distance, want.distance) << "position " << pos;
        }
        finder.Insert(pos);
      }
    }
  }
}

TEST(MatchFinder, AllMatchesListsEveryImprovementByRisingLength) {
  const Bytes b = Sample(3);
  MatchFinder finder(b.data(), b.size());
  Match out[MaxMatch];
  for (std::size_t pos = 0; pos < b.size(); ++pos) {
    const std::vector<Match> want = Improving(b, pos);
    const int count = finder.AllMatches(pos, WindowSize, out);
    ASSERT_EQ(static_cast<std::size_t>(count), want.size()) << "position " << pos;
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(out[i].length, want[static_cast<std::size_t>(i)].length) << "position " << pos;
      ASSERT_EQ(out[i].distance, want[static_cast<std::size_t>(i)].distance) << "position " << pos;
    }
    finder.Insert(pos);
  }
}

TEST(MatchFinder, ShallowSearchesStillReportRealMatches) {
  // Depths that end early give a match that is real and no longer than the
  // longest; the early end after enough_after candidates keeps one of at
  // least enough_length bytes.
  const Bytes b = Sample(4);
  MatchFinder finder(b.data(), b.size(), Chaining::FourBytes);
  const MatchFinder::Depth shallow[] = {{1, MaxMatch, 1, MaxMatch}, {8, 6, 8, MaxMatch}, {64, MaxMatch, 4, 5}};
  for (std::size_t pos = 0; pos < b.size(); ++pos) {
    const std::vector<Match> all = Improving(b, pos);
    const int longest = all.empty() ? 0 : all.back().length;
    for (const MatchFinder::Depth& depth : shallow) {
      const Match got = finder.Longest(pos, depth);
      ASSERT_LE(got.length, longest) << "position " << pos;
      if (got.length == 0) continue;
      ASSERT_GE(got.length, MinMatch);
      ASSERT_GE(got.distance, 1);
      ASSERT_LE(got.distance, WindowSize);
      ASSERT_LE(static_cast<std::size_t>(got.distance), pos);
      ASSERT_EQ(Common(b, pos - static_cast<std::size_t>(got.distance), pos), got.length) << "position " << pos;
    }
    finder.Insert(pos);
  }
}

}  // namespace

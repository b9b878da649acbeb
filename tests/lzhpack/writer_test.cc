// The container writer against the decoder: round trips over a table of
// inputs in both modes, streams cut short or followed by other bytes, and
// the header.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "lzh/container.h"
#include "lzh/container_writer.h"
#include "tests/lzhpack/round_trip.h"

namespace {

using lzh::WriterMode;
using lzhpack_test::Bytes;
using lzhpack_test::Expand;

Bytes Repeat(const Bytes& part, std::size_t times) {
  Bytes out;
  for (std::size_t i = 0; i < times; ++i) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct Case {
  const char* name;
  std::function<Bytes()> make;
};

const Case kCases[] = {
    {"empty", [] { return Bytes{}; }},
    {"one_byte", [] { return Bytes{0x41}; }},
    {"two_bytes", [] { return Bytes{0x00, 0xFF}; }},
    {"run_of_zeros", [] { return Bytes(100000, 0); }},
    {"run_of_one_letter", [] { return Bytes(1000, 'x'); }},
    // The decoder's window starts with spaces: leading spaces may refer to them.
    {"leading_spaces", [] { return Concat({Bytes(5000, ' '), lzhpack_test::Text(3000, 7)}); }},
    {"alternating_pair", [] { return Repeat(Bytes{'a', 'b'}, 3000); }},
    {"text", [] { return lzhpack_test::Text(20000, 1); }},
    {"random", [] { return lzhpack_test::RandomBytes(20000, 2); }},
    {"text_4095", [] { return lzhpack_test::Text(4095, 3); }},
    {"text_4096", [] { return lzhpack_test::Text(4096, 3); }},
    {"text_4097", [] { return lzhpack_test::Text(4097, 3); }},
    {"random_32767", [] { return lzhpack_test::RandomBytes(32767, 4); }},
    {"random_32768", [] { return lzhpack_test::RandomBytes(32768, 4); }},
    {"random_32769", [] { return lzhpack_test::RandomBytes(32769, 4); }},
    // A block repeated at a distance of exactly one window, and just beyond.
    {"repeat_at_4096", [] { return Repeat(lzhpack_test::RandomBytes(4096, 5), 3); }},
    {"repeat_at_4097", [] { return Repeat(lzhpack_test::RandomBytes(4097, 5), 3); }},
    // Random bytes are about one symbol each: several rebuilds of the code
    // tree (one per 32454 symbols at first), then text after them.
    {"several_rebuilds",
     [] { return Concat({lzhpack_test::RandomBytes(150000, 6), lzhpack_test::Text(150000, 6)}); }},
    // Mixed material with every byte value, matches of every length.
    {"mixed", [] {
       Bytes out;
       for (int length = 1; length <= 70; ++length) {
         const Bytes part = lzhpack_test::RandomBytes(static_cast<std::size_t>(length), 100u + length);
         out.insert(out.end(), part.begin(), part.end());
         out.insert(out.end(), part.begin(), part.end());
         for (int b = 0; b < 256; b += 37) out.push_back(static_cast<std::uint8_t>(b));
       }
       return out;
     }},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class WriterRoundTrip : public ::testing::TestWithParam<std::tuple<Case, WriterMode>> {};

TEST_P(WriterRoundTrip, DecodesToTheInputAndEndsTheStreamExactly) {
  const Bytes input = std::get<0>(GetParam()).make();
  const Bytes container = lzh::WriteContainer(input.data(), input.size(), std::get<1>(GetParam()));
  ASSERT_GE(container.size(), static_cast<std::size_t>(lzh::ContainerHeaderSize));
  EXPECT_EQ(lzh::GetDeclaredSize(container.data()), static_cast<std::int32_t>(input.size()));

  const auto expansion = Expand(container);
  EXPECT_TRUE(expansion.output == input) << "output of " << expansion.output.size() << " bytes";
  if (input.empty()) {
    EXPECT_EQ(container.size(), static_cast<std::size_t>(lzh::ContainerHeaderSize));
    EXPECT_EQ(expansion.reads, 0u);
  } else {
    // The decoder reads one byte ahead: a stream that ends in its last byte
    // (no byte too many, none missing) is read once beyond its end.
    EXPECT_EQ(expansion.reads, container.size() - lzh::ContainerHeaderSize + 1);
  }
}

std::string CaseName(const ::testing::TestParamInfo<WriterRoundTrip::ParamType>& info) {
  return std::string(std::get<0>(info.param).name) +
         (std::get<1>(info.param) == WriterMode::Best ? "_best" : "_lazy");
}

INSTANTIATE_TEST_SUITE_P(Inputs, WriterRoundTrip,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(WriterMode::Lazy, WriterMode::Best)),
                         CaseName);

TEST(WriterHeader, MagicThenLittleEndianSizeThenStream) {
  const Bytes input = lzhpack_test::Text(0x1234, 9);
  const Bytes container = lzh::WriteContainer(input.data(), input.size());
  ASSERT_GT(container.size(), 8u);
  const Bytes header(container.begin(), container.begin() + 8);
  EXPECT_EQ(header, (Bytes{'!', 'H', 'Z', 'L', 0x34, 0x12, 0x00, 0x00}));
}

TEST(WriterHeader, RefusesInputsTheHeaderCannotAnnounce) {
  // The size is checked before the data is touched and before anything is sent.
  const std::uint8_t byte = 0;
  bool sent = false;
  const std::size_t too_large = static_cast<std::size_t>(lzh::MaxDeclaredSize) + 1;
  EXPECT_THROW(lzh::WriteContainer(&byte, too_large,
                                   [&sent](const std::uint8_t*, std::size_t) { sent = true; }),
               std::length_error);
  EXPECT_FALSE(sent);
}

TEST(WriterCompression, FindsMatchesInRunsAndRepeats) {
  // A writer that fell back to literals would still round-trip; sizes show it.
  for (WriterMode mode : {WriterMode::Lazy, WriterMode::Best}) {
    const Bytes zeros(100000, 0);
    EXPECT_LT(lzh::WriteContainer(zeros.data(), zeros.size(), mode).size(), 2500u);  // 1667 matches of 60
    const Bytes repeated = Repeat(lzhpack_test::RandomBytes(3000, 11), 10);
    EXPECT_LT(lzh::WriteContainer(repeated.data(), repeated.size(), mode).size(), 4500u);  // 3000 literals first
    // Spaces at the start are already in the decoder's window.
    const Bytes spaces(60, ' ');
    EXPECT_LE(lzh::WriteContainer(spaces.data(), spaces.size(), mode).size(), 12u);
  }
}

TEST(WriterStream, CutShortDecodesToAtLeastTheDeclaredSizeAndAgreesBeforeTheCut) {
  const Bytes input = Concat({lzhpack_test::Text(30000, 12), lzhpack_test::RandomBytes(5000, 12)});
  const Bytes container = lzh::WriteContainer(input.data(), input.size());
  const std::size_t stream = container.size() - lzh::ContainerHeaderSize;
  for (std::size_t kept : {std::size_t{0}, std::size_t{1}, stream / 3, stream / 2, stream - 1}) {
    SCOPED_TRACE("stream bytes kept: " + std::to_string(kept));
    const Bytes cut(container.begin(), container.begin() + lzh::ContainerHeaderSize + kept);
    const auto expansion = Expand(cut);
    EXPECT_TRUE(expansion.ran_out);
    EXPECT_GE(expansion.output.size(), input.size());
    // Everything written before the decoder first missed a byte came from
    // stream bytes that were there.
    ASSERT_LE(expansion.output_at_end, input.size());
    EXPECT_TRUE(std::equal(input.begin(), input.begin() + expansion.output_at_end,
                           expansion.output.begin()));
    if (kept >= stream / 2) {
      EXPECT_GT(expansion.output_at_end, input.size() / 4);
    }
  }
}

TEST(WriterStream, BytesAfterTheStreamChangeNothing) {
  const Bytes input = lzhpack_test::Text(10000, 13);
  const Bytes container = lzh::WriteContainer(input.data(), input.size(), WriterMode::Best);
  const Bytes other = lzh::WriteContainer(input.data() + 100, 500);
  for (const Bytes& tail : {Bytes(100, 0xFF), Bytes(3, 0x00), other}) {
    const auto expansion = Expand(Concat({container, tail}));
    EXPECT_TRUE(expansion.output == input);
    // Of the appended bytes, only the read-ahead byte is ever fetched.
    EXPECT_EQ(expansion.reads, container.size() - lzh::ContainerHeaderSize + 1);
    EXPECT_FALSE(expansion.ran_out);
  }
}

}  // namespace

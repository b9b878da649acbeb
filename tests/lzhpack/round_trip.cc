// Inputs and the in-memory decoder run for the writer tests.
#include "tests/lzhpack/round_trip.h"

#include <random>

#include "lzh/container.h"
#include "lzh/lzh_unpack.h"

namespace lzhpack_test {

Bytes RandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (auto& b : out) b = static_cast<std::uint8_t>(random() >> 24);
  return out;
}

Bytes Text(std::size_t size, std::uint32_t seed) {
  static const char* const kWords[] = {
      "the",  "container", "window", "of",   "bytes", "match",  "a",       "literal",
      "code", "tree",      "and",    "spaces", "is",  "offset", "launcher", "setup",
      "file", "stream",    "to",     "with", "bits",  "weight", "symbol",  "run"};
  std::mt19937 random(seed);
  Bytes out;
  out.reserve(size + 16);
  int column = 0;
  while (out.size() < size) {
    const std::string word = kWords[random() % (sizeof kWords / sizeof *kWords)];
    out.insert(out.end(), word.begin(), word.end());
    column += static_cast<int>(word.size()) + 1;
    if (column > 70) {
      out.push_back('\n');
      column = 0;
    } else {
      out.push_back(random() % 11 == 0 ? ',' : ' ');
    }
  }
  out.resize(size);
  return out;
}

namespace {

struct Reader {
  const Bytes& data;
  std::size_t pos;
  Expansion& result;
  void operator()(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
    ++result.reads;
    std::uint16_t n = 0;
    while (n < count && pos < data.size()) buffer[n++] = data[pos++];
    if (n < count && !result.ran_out) {
      result.ran_out = true;
      result.output_at_end = result.output.size();
    }
    delivered = n;
  }
};

struct Writer {
  Bytes& out;
  void operator()(const std::uint8_t* bytes, std::uint16_t count, std::uint16_t& accepted) {
    out.insert(out.end(), bytes, bytes + count);
    accepted = count;
  }
};

}  // namespace

Expansion Expand(const Bytes& container) {
  Expansion result;
  Reader reader{container, lzh::ContainerHeaderSize, result};
  Writer writer{result.output};
  lzh::LzhUnpackWith(lzh::GetDeclaredSize(container.data()), reader, writer);
  return result;
}

}  // namespace lzhpack_test

// Test helpers for the container writer: deterministic inputs and a decoder
// run over a container held in memory that records how it was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lzhpack_test {

using Bytes = std::vector<std::uint8_t>;

// Reproducible pseudo-random bytes.
Bytes RandomBytes(std::size_t size, std::uint32_t seed);
// English-like text of words from a small vocabulary, with line breaks.
Bytes Text(std::size_t size, std::uint32_t seed);

struct Expansion {
  Bytes output;
  std::size_t reads = 0;           // read calls made by the decoder
  std::size_t output_at_end = 0;   // output size when a read first found nothing
  bool ran_out = false;            // some read found the stream exhausted
};

// Expands a container's stream (everything after the header) as the header
// declares, one byte per read as the decoder asks.
Expansion Expand(const Bytes& container);

}  // namespace lzhpack_test

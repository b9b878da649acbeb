// The container writer: turns a whole input into a compressed file container
// (header, coded symbols, zero bits to the byte boundary) that the decoder
// expands back into exactly the input. Lazy matching by default; the Best
// mode spends more time on a near-optimal parse. The input is given whole,
// as its size goes into the header before the stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lzh/parsers.h"
#include "lzh/symbol_encoder.h"

namespace lzh {

enum class WriterMode { Lazy, Best };

struct WriterOptions {
  WriterMode mode = WriterMode::Lazy;
  pack::ProgressFn progress;  // optional; told the input bytes coded so far
};

// Sends the container for data[0..size) to sink, in order, in pieces.
// Throws std::length_error when size exceeds MaxDeclaredSize (nothing is
// sent then).
void WriteContainer(const std::uint8_t* data, std::size_t size, const pack::ByteSink& sink,
                    const WriterOptions& options = {});

// The same, collected in memory.
std::vector<std::uint8_t> WriteContainer(const std::uint8_t* data, std::size_t size,
                                         WriterMode mode = WriterMode::Lazy);

}  // namespace lzh

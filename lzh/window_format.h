// The shape of the LZSS window that the decoder and the container writer
// share: its size, where a run starts writing (the positions below hold
// spaces), and the match lengths that symbols 256 to 313 stand for.
#pragma once

#include <cstdint>

namespace lzh {
namespace lzss {

constexpr int WindowSize = 4096;
constexpr unsigned WindowMask = WindowSize - 1;
constexpr std::uint16_t WindowStart = 4036;  // first write position of a run
constexpr int MinMatch = 3;                  // symbol 256
constexpr int MaxMatch = 60;                 // symbol 313
constexpr unsigned FirstMatchSymbol = 256;

}  // namespace lzss
}  // namespace lzh

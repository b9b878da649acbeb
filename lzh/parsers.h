// The two ways the container writer chooses its literals and matches: lazy
// matching (the default) and a near-optimal parse priced with the adaptive
// code lengths. Both read a buffer whose first WindowStart bytes are the
// spaces of the decoder's start window, followed by the input; they code the
// input from position WindowStart to the end through the encoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "lzh/symbol_encoder.h"

namespace lzh {
namespace pack {

// Told how many input bytes have been coded so far.
using ProgressFn = std::function<void(std::size_t done)>;

void ParseLazy(const std::uint8_t* buffer, std::size_t size, SymbolEncoder& encoder,
               const ProgressFn& progress);
void ParseNearOptimal(const std::uint8_t* buffer, std::size_t size, SymbolEncoder& encoder,
                      const ProgressFn& progress);

}  // namespace pack
}  // namespace lzh

// Plain read and write procedures over module-level byte vectors, for tests
// that drive the decoder through the procedure interface. They log every
// call so tests can check how many reads happened and in what order.
#pragma once

#include <cstdint>
#include <vector>

namespace lzh_test {

struct ByteProcs {
  std::vector<std::uint8_t> input;
  std::size_t position = 0;
  int read_calls = 0;
  int empty_reads = 0;  // calls that delivered nothing
  std::vector<std::uint8_t> output;
  int write_calls = 0;
  bool counts_were_one = true;      // every call asked for / passed one byte
  int throw_on_read_call = 0;       // 1-based; 0 = never
  int throw_on_write_call = 0;      // 1-based; 0 = never
};

// Resets the shared state and installs the input.
ByteProcs& ResetProcs(std::vector<std::uint8_t> input = {});
ByteProcs& Procs();

void ReadByte(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered);
void WriteByte(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted);

// Raised by the procedures when told to fail.
struct ProcFailure {
  int call;
};

}  // namespace lzh_test

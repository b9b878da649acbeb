// Module-level byte source and sink for the decoder's tests.
#include "tests/lzh/byte_procs.h"

#include <utility>

namespace lzh_test {

namespace {
ByteProcs procs;
}

ByteProcs& ResetProcs(std::vector<std::uint8_t> input) {
  procs = ByteProcs{};
  procs.input = std::move(input);
  return procs;
}

ByteProcs& Procs() { return procs; }

void ReadByte(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
  ++procs.read_calls;
  if (count != 1) procs.counts_were_one = false;
  if (procs.read_calls == procs.throw_on_read_call) throw ProcFailure{procs.read_calls};
  if (procs.position < procs.input.size()) {
    *buffer = procs.input[procs.position++];
    delivered = 1;
  } else {
    ++procs.empty_reads;
    delivered = 0;
  }
}

void WriteByte(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
  ++procs.write_calls;
  if (count != 1) procs.counts_were_one = false;
  if (procs.write_calls == procs.throw_on_write_call) throw ProcFailure{procs.write_calls};
  procs.output.push_back(*buffer);
  accepted = count;
}

}  // namespace lzh_test

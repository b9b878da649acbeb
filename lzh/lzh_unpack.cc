// LzhUnpack over plain read and write procedures: the decoder's template
// instantiated with thin callers of the two procedures.
#include "lzh/lzh_unpack.h"

namespace lzh {

namespace {

struct ProcReader {
  ReadProc proc;
  void operator()(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) const {
    proc(buffer, count, delivered);
  }
};

struct ProcWriter {
  WriteProc proc;
  void operator()(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) const {
    proc(buffer, count, accepted);
  }
};

}  // namespace

void LzhUnpack(std::int32_t count, ReadProc read, WriteProc write) {
  ProcReader reader{read};
  ProcWriter writer{write};
  LzhUnpackWith(count, reader, writer);
}

}  // namespace lzh

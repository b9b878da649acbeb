// The file decompression driver: turns one compressed file container on disk
// into the file it holds. A single-use unit configured through module
// variables: the caller assigns InFileName and OutFileName and calls
// DecompressFile, which never lets a failure escape. Not re-entrant.
//
// Every file and memory operation goes through a platform::Platform, the
// host's by default; tests substitute one that records and fails operations.
#pragma once

#include <cstdint>

#include "platform/exception.h"
#include "platform/platform.h"

namespace lzh {

// The driver's failures; carries only its message.
class ELzrw1Exception : public platform::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const override { return "ELzrw1Exception"; }
};

constexpr std::int32_t IoBufferSize = 32784;  // obtained per buffer
constexpr std::int32_t IoChunk = 32768;       // filled and written per request

extern platform::Path InFileName;
extern platform::Path OutFileName;
extern std::uint8_t* InBuffer;
extern std::uint8_t* OutBuffer;
extern platform::FileHandle InHandle;
extern platform::FileHandle OutHandle;
extern std::int32_t InBufFill;
extern std::uint16_t InBufPos;   // 1-based
extern std::uint16_t OutBufPos;  // 1-based
extern std::int32_t LastIoCount;
extern std::uint32_t HeaderMagic;

// The platform the driver works on; null selects platform::Platform::Default().
void SetDriverPlatform(platform::Platform* host);

// 1 when OutFileName has been written completely, -1 after any failure.
std::int32_t DecompressFile();

// The run itself: returns 1 or raises (buffers, handles and a half-written
// output are cleaned up on the way out).
std::int32_t ExpandContainer();
// Header size field, then the whole bit stream through the two buffers.
void DecodeStream();

void CheckRead(std::int32_t got, std::int32_t wanted);
void CheckWrite(std::int32_t got, std::int32_t wanted);

// The decoder's byte source and sink. The one-byte common path is inline so
// that it folds into the decoder's loop; refills and flushes are out of line.
void BufferedReadRefill(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered);
void BufferedWriteFlush(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted);

inline void BufferedRead(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
  if (count == 1 && static_cast<std::int32_t>(InBufPos) <= InBufFill) {
    *buffer = InBuffer[InBufPos - 1];
    ++InBufPos;
    delivered = 1;
    return;
  }
  BufferedReadRefill(buffer, count, delivered);
}

inline void BufferedWrite(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
  if (count == 1 && OutBufPos <= IoChunk) {
    OutBuffer[OutBufPos - 1] = *buffer;
    ++OutBufPos;
    accepted = 1;
    return;
  }
  BufferedWriteFlush(buffer, count, accepted);
}

}  // namespace lzh

// The file decompression driver: buffers, handles, header check, the decode
// through the buffered procedures, and the clean-up regions that release
// everything and remove a half-written output whatever fails.
#include "lzh/file_driver.h"

#include <algorithm>
#include <cstring>

#include "lzh/container.h"
#include "lzh/lzh_unpack.h"

namespace lzh {

platform::Path InFileName;
platform::Path OutFileName;
std::uint8_t* InBuffer = nullptr;
std::uint8_t* OutBuffer = nullptr;
platform::FileHandle InHandle = 0;
platform::FileHandle OutHandle = 0;
std::int32_t InBufFill = 0;
std::uint16_t InBufPos = 1;
std::uint16_t OutBufPos = 1;
std::int32_t LastIoCount = 0;
std::uint32_t HeaderMagic = 0;

namespace {

platform::Platform* driver_platform = nullptr;

platform::Platform& Host() {
  return driver_platform != nullptr ? *driver_platform : *platform::Platform::Default();
}

// Reads one 4-byte header field straight from the input file.
std::uint32_t ReadHeaderField() {
  std::uint8_t bytes[4] = {0, 0, 0, 0};
  LastIoCount = Host().Read(InHandle, bytes, 4);
  CheckRead(LastIoCount, 4);
  return GetLittleEndian32(bytes);
}

void WritePending() {
  const std::int32_t pending = static_cast<std::int32_t>(OutBufPos) - 1;
  LastIoCount = Host().Write(OutHandle, OutBuffer, pending);
  CheckWrite(LastIoCount, pending);
}

// The decoder's procedures as functors, so that its loop inlines them.
struct BufferedReader {
  void operator()(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) const {
    BufferedRead(buffer, count, delivered);
  }
};
struct BufferedWriter {
  void operator()(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) const {
    BufferedWrite(buffer, count, accepted);
  }
};

// Leaving the handle region: input first, then output; both keep their values.
void CloseHandles() {
  platform::Platform& host = Host();
  if (InHandle > 0) {
    host.Flush(InHandle);
    host.Close(InHandle);
  }
  if (OutHandle > 0) {
    host.Flush(OutHandle);
    host.Close(OutHandle);
  }
}

// Leaving the buffer region: input buffer first.
void ReleaseBuffers() {
  platform::Platform& host = Host();
  host.FreeMemory(InBuffer);
  InBuffer = nullptr;
  host.FreeMemory(OutBuffer);
  OutBuffer = nullptr;
}

// The part of the run that has an output file: a failure here closes the
// output unflushed, deletes it and travels on unchanged.
void ExpandIntoOutput() {
  try {
    HeaderMagic = ReadHeaderField();
    if (HeaderMagic != ContainerMagic) {
      throw ELzrw1Exception("Lzrw1 : " + InFileName + " : NOT A COMPRESSED FILE !");
    }
    DecodeStream();
  } catch (...) {
    Host().Close(OutHandle);
    OutHandle = 0;
    Host().DeleteFile(OutFileName);
    throw;
  }
}

}  // namespace

void SetDriverPlatform(platform::Platform* host) { driver_platform = host; }

void CheckRead(std::int32_t got, std::int32_t wanted) {
  if (got != wanted) throw ELzrw1Exception("Lzrw1 : ERROR READING FROM " + InFileName + " !");
}

void CheckWrite(std::int32_t got, std::int32_t wanted) {
  if (got != wanted) throw ELzrw1Exception("Lzrw1 : ERROR WRITING TO " + OutFileName + " !");
}

void BufferedReadRefill(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
  std::uint16_t placed = 0;
  while (placed < count) {
    if (static_cast<std::int32_t>(InBufPos) > InBufFill) {
      InBufFill = Host().Read(InHandle, InBuffer, IoChunk);
      if (InBufFill < 0) throw ELzrw1Exception("Lzrw1/LZH : READ ERROR ON " + InFileName + " !");
      // At the end of the file InBufPos keeps its value, so the next request
      // asks the file again.
      if (InBufFill == 0) break;
      InBufPos = 1;
    }
    const std::int32_t available = InBufFill - static_cast<std::int32_t>(InBufPos) + 1;
    const std::int32_t take = std::min<std::int32_t>(count - placed, available);
    std::memcpy(buffer + placed, InBuffer + InBufPos - 1, static_cast<std::size_t>(take));
    InBufPos = static_cast<std::uint16_t>(InBufPos + take);
    placed = static_cast<std::uint16_t>(placed + take);
  }
  delivered = placed;
}

void BufferedWriteFlush(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
  if (count == 0) {  // pass on everything still held
    WritePending();
    return;
  }
  if (OutBufPos > IoChunk || OutBufPos + count > IoChunk + 1) {
    WritePending();
    OutBufPos = 1;
  }
  if (count > IoChunk) {
    // More than a buffer holds: nothing is pending now, write it through.
    LastIoCount = Host().Write(OutHandle, buffer, count);
    CheckWrite(LastIoCount, count);
  } else {
    std::memcpy(OutBuffer + OutBufPos - 1, buffer, count);
    OutBufPos = static_cast<std::uint16_t>(OutBufPos + count);
  }
  accepted = count;
}

void DecodeStream() {
  const std::int32_t DeclaredSize = static_cast<std::int32_t>(ReadHeaderField());
  InBufPos = 1;
  InBufFill = 0;
  OutBufPos = 1;
  BufferedReader read;
  BufferedWriter write;
  LzhUnpackWith(DeclaredSize, read, write);
  std::uint16_t unused = 0;
  BufferedWrite(nullptr, 0, unused);
}

std::int32_t ExpandContainer() {
  platform::Platform& host = Host();
  InBuffer = static_cast<std::uint8_t*>(host.GetMemory(IoBufferSize));
  if (InBuffer == nullptr) throw ELzrw1Exception("Lzrw1 : no memory for I/O Buffers !!");
  OutBuffer = static_cast<std::uint8_t*>(host.GetMemory(IoBufferSize));
  if (OutBuffer == nullptr) {
    // The first buffer is given back too: nothing of the run stays held.
    host.FreeMemory(InBuffer);
    InBuffer = nullptr;
    throw ELzrw1Exception("Lzrw1 : no memory for I/O Buffers !!");
  }
  try {
    InHandle = 0;
    OutHandle = 0;
    try {
      InHandle = host.OpenRead(InFileName);
      if (InHandle < 0) throw ELzrw1Exception("Lzrw1 : Inputfile " + InFileName + " not found !");
      OutHandle = host.Create(OutFileName);
      if (OutHandle < 0) {
        throw ELzrw1Exception("Lzrw1 : Outputfile " + OutFileName + " can not be opened !");
      }
      ExpandIntoOutput();
    } catch (...) {
      CloseHandles();
      throw;
    }
    CloseHandles();
  } catch (...) {
    ReleaseBuffers();
    throw;
  }
  ReleaseBuffers();
  return 1;
}

std::int32_t DecompressFile() {
  try {
    return ExpandContainer();
  } catch (...) {
    // Every failure of a run ends here; its message is not shown anywhere.
    return -1;
  }
}

}  // namespace lzh

// The file decompression driver: buffers, handles, header check, the decode
// through the buffered procedures, and the clean-up regions that release
// everything and remove a half-written output whatever fails.
#include "lzh/file_driver.h"

#include <algorithm>
#include <cstring>

#include "lzh/container.h"
#include "lzh/force_inline.h"
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

// The positions of both buffers while the decoder runs, kept as pointers in
// a local object instead of in InBufPos and OutBufPos, so that the per-byte
// path neither reloads nor stores the module variables (a byte store may
// alias anything they are kept in). Before each slow step (a buffer fill, a
// buffer write, any platform call) both positions are written back to the
// module variables and afterwards taken up again; when the decode ends,
// normally or by a failure, the destructor writes them back. While a slow
// step runs the cursor is not live, so that a failure raised there leaves
// the module variables as that step left them.
//
// The slow steps take and return the positions by value: the cursor's
// address never leaves the decoding loop, so its fields stay in registers.
struct BufferPositions {
  const std::uint8_t* in;      // InBuffer + InBufPos - 1
  const std::uint8_t* in_end;  // InBuffer + InBufFill (none left: in >= in_end)
  std::uint8_t* out;           // OutBuffer + OutBufPos - 1 (full: out == out_end)
};

// 1-based positions: the next byte to deliver is InBuffer[InBufPos - 1], and
// the input is used up when InBufPos > InBufFill; the next output byte goes
// to OutBuffer[OutBufPos - 1].
BufferPositions LoadPositions() {
  return {InBuffer + InBufPos - 1, InBuffer + std::max<std::int32_t>(InBufFill, 0),
          OutBuffer + OutBufPos - 1};
}

void StorePositions(const BufferPositions& at) {
  InBufPos = static_cast<std::uint16_t>(at.in - InBuffer + 1);
  OutBufPos = static_cast<std::uint16_t>(at.out - OutBuffer + 1);
}

LZH_NO_INLINE BufferPositions ReadSlow(BufferPositions at, std::uint8_t* buffer,
                                       std::uint16_t count, std::uint16_t& delivered) {
  StorePositions(at);
  BufferedReadRefill(buffer, count, delivered);
  return LoadPositions();
}

LZH_NO_INLINE BufferPositions WriteSlow(BufferPositions at, const std::uint8_t* buffer,
                                        std::uint16_t count, std::uint16_t& accepted) {
  StorePositions(at);
  BufferedWriteFlush(buffer, count, accepted);
  return LoadPositions();
}

class BufferCursor {
 public:
  BufferCursor() : at_(LoadPositions()), out_end_(OutBuffer + IoChunk) {}
  ~BufferCursor() {
    if (live_) StorePositions(at_);
  }
  BufferCursor(const BufferCursor&) = delete;
  BufferCursor& operator=(const BufferCursor&) = delete;

  void Read(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
    if (count == 1 && at_.in < at_.in_end) {
      *buffer = *at_.in++;
      delivered = 1;
      return;
    }
    live_ = false;
    at_ = ReadSlow(at_, buffer, count, delivered);
    live_ = true;
  }

  // The bytes still in the input buffer, for a decoder that looks ahead;
  // skipping them is what reading them one by one would do.
  std::size_t AheadCount() const {
    return at_.in < at_.in_end ? static_cast<std::size_t>(at_.in_end - at_.in) : 0;
  }
  const std::uint8_t* Ahead() const { return at_.in; }
  void Skip(std::size_t n) { at_.in += n; }

  // The space left in the output buffer before it must be written out, for
  // a decoder that places bytes there itself; taking them is what writing
  // them one by one would do.
  std::size_t RoomCount() const { return static_cast<std::size_t>(out_end_ - at_.out); }
  std::uint8_t* Room() const { return at_.out; }
  void Took(std::size_t n) { at_.out += n; }

  void Write(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
    if (count == 1 && at_.out < out_end_) {
      *at_.out++ = *buffer;
      accepted = 1;
      return;
    }
    live_ = false;
    at_ = WriteSlow(at_, buffer, count, accepted);
    live_ = true;
  }

 private:
  BufferPositions at_;
  std::uint8_t* const out_end_;  // OutBuffer + 32768: the buffer is full
  bool live_ = true;
};

// The decoder's procedures as functors over the cursor, so that its loop
// inlines them.
struct BufferedReader {
  BufferCursor& cursor;
  void operator()(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) const {
    cursor.Read(buffer, count, delivered);
  }
  std::size_t AheadCount() const { return cursor.AheadCount(); }
  const std::uint8_t* Ahead() const { return cursor.Ahead(); }
  void Skip(std::size_t n) const { cursor.Skip(n); }
};
struct BufferedWriter {
  BufferCursor& cursor;
  void operator()(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) const {
    cursor.Write(buffer, count, accepted);
  }
  std::size_t RoomCount() const { return cursor.RoomCount(); }
  std::uint8_t* Room() const { return cursor.Room(); }
  void Took(std::size_t n) const { cursor.Took(n); }
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
  {
    BufferCursor cursor;
    BufferedReader read{cursor};
    BufferedWriter write{cursor};
    LzhUnpackWith(DeclaredSize, read, write);
  }
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

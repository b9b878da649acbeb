// lzhpack expand: checks the container header, then runs the decoder over
// the rest of the input with 64 KiB buffers on both sides. The output holds
// everything the decoder produces.
#include <cstdint>
#include <memory>

#include "lzh/container.h"
#include "lzh/lzh_unpack.h"
#include "tools/lzhpack_commands.h"
#include "tools/lzhpack_io.h"
#include "tools/lzhpack_progress.h"

namespace lzhpack {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 16;

class BufferedReader {
 public:
  explicit BufferedReader(InputFile& input) : input_(input), buffer_(new std::uint8_t[kBufferSize]) {}

  void operator()(std::uint8_t* out, std::uint16_t count, std::uint16_t& delivered) {
    std::uint16_t n = 0;
    while (n < count) {
      if (pos_ == fill_ && !Refill()) break;
      out[n++] = buffer_[pos_++];
    }
    delivered = n;
  }

 private:
  bool Refill() {
    if (ended_) return false;
    fill_ = input_.Read(buffer_.get(), kBufferSize);
    pos_ = 0;
    ended_ = fill_ < kBufferSize;
    return fill_ != 0;
  }

  InputFile& input_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t fill_ = 0;
  bool ended_ = false;
};

class BufferedWriter {
 public:
  BufferedWriter(OutputFile& output, ProgressBar& bar)
      : output_(output), bar_(bar), buffer_(new std::uint8_t[kBufferSize]) {}

  void operator()(const std::uint8_t* bytes, std::uint16_t count, std::uint16_t& accepted) {
    for (std::uint16_t i = 0; i < count; ++i) {
      if (pos_ == kBufferSize) Flush();
      buffer_[pos_++] = bytes[i];
    }
    accepted = count;
  }

  void Flush() {
    output_.Write(buffer_.get(), pos_);
    written_ += pos_;
    pos_ = 0;
    bar_.Update(written_);
  }

 private:
  OutputFile& output_;
  ProgressBar& bar_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t pos_ = 0;
  std::uint64_t written_ = 0;
};

}  // namespace

void Expand(const std::string& in, const std::string& out) {
  InputFile input(in);
  std::uint8_t header[lzh::ContainerHeaderSize];
  // The magic first: a short file is a cut header, a wrong magic is no container.
  std::size_t got = input.Read(header, 4);
  if (got == 4 && lzh::GetLittleEndian32(header) != lzh::ContainerMagic) {
    throw ToolError(InputLabel(in) + " is not a compressed file container");
  }
  if (got == 4) got += input.Read(header + 4, 4);
  if (got < sizeof header) {
    throw ToolError(InputLabel(in) + ": container header cut short (" + std::to_string(got) +
                    " of 8 bytes)");
  }
  const std::int32_t declared = lzh::GetDeclaredSize(header);

  OutputFile output(out);
  ProgressBar bar("expanding", declared > 0 ? static_cast<std::uint64_t>(declared) : 0);
  BufferedReader reader(input);
  BufferedWriter writer(output, bar);
  lzh::LzhUnpackWith(declared, reader, writer);
  writer.Flush();
  bar.Finish();
  input.Close();  // the output may replace the input
  output.Commit();
}

}  // namespace lzhpack

// Container writer: header, then the parse chosen by the mode.
#include "lzh/container_writer.h"

#include <cstring>
#include <memory>
#include <stdexcept>

#include "lzh/container.h"

namespace lzh {

using pack::WindowStart;

void WriteContainer(const std::uint8_t* data, std::size_t size, const pack::ByteSink& sink,
                    const WriterOptions& options) {
  if (size > static_cast<std::size_t>(MaxDeclaredSize)) {
    throw std::length_error("input too large for a container (2 GiB or more)");
  }
  std::uint8_t header[ContainerHeaderSize];
  PutContainerHeader(static_cast<std::int32_t>(size), header);
  sink(header, sizeof header);
  if (size == 0) return;

  // The parsers see the decoder's start window (spaces) in front of the input.
  // Left uninitialised before the copy: filling it first would cost a pass.
  const std::size_t buffer_size = WindowStart + size;
  const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[buffer_size]);
  std::memset(buffer.get(), ' ', WindowStart);
  std::memcpy(buffer.get() + WindowStart, data, size);

  pack::SymbolEncoder encoder(sink);
  if (options.mode == WriterMode::Best) {
    pack::ParseNearOptimal(buffer.get(), buffer_size, encoder, options.progress);
  } else {
    pack::ParseLazy(buffer.get(), buffer_size, encoder, options.progress);
  }
  encoder.Finish();
}

std::vector<std::uint8_t> WriteContainer(const std::uint8_t* data, std::size_t size,
                                         WriterMode mode) {
  std::vector<std::uint8_t> out;
  WriterOptions options;
  options.mode = mode;
  WriteContainer(
      data, size, [&out](const std::uint8_t* bytes, std::size_t count) { out.insert(out.end(), bytes, bytes + count); },
      options);
  return out;
}

}  // namespace lzh

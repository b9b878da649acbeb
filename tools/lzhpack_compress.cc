// lzhpack compress: the whole input in memory (its size leads the
// container), the container written through a temporary file.
#include <cstdint>
#include <stdexcept>

#include "lzh/container.h"
#include "lzh/container_writer.h"
#include "tools/lzhpack_commands.h"
#include "tools/lzhpack_io.h"
#include "tools/lzhpack_progress.h"

namespace lzhpack {

void Compress(const std::string& in, const std::string& out, bool best) {
  const std::vector<std::uint8_t> data =
      ReadWholeInput(in, static_cast<std::uint64_t>(lzh::MaxDeclaredSize));
  OutputFile output(out);
  ProgressBar bar("compressing", data.size());
  lzh::WriterOptions options;
  options.mode = best ? lzh::WriterMode::Best : lzh::WriterMode::Lazy;
  options.progress = [&bar](std::size_t done) { bar.Update(done); };
  lzh::WriteContainer(
      data.data(), data.size(),
      [&output](const std::uint8_t* bytes, std::size_t count) { output.Write(bytes, count); },
      options);
  bar.Finish();
  output.Commit();
}

}  // namespace lzhpack

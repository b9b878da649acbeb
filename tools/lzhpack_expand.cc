// lzhpack expand: the launcher's own file decompression driver does the
// work, so the tool expands a container exactly as the launcher does. Around
// it the tool adds what a command line wants: a clear message for a header
// that is cut short or wrong, standard input and output, a progress bar, and
// an output that appears under its name only when it is complete (the
// driver writes a temporary file beside it, renamed on success).
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "lzh/container.h"
#include "lzh/file_driver.h"
#include "platform/platform_wrapper.h"
#include "tools/lzhpack_commands.h"
#include "tools/lzhpack_io.h"
#include "tools/lzhpack_progress.h"

namespace lzhpack {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = std::size_t{1} << 16;

// Counts the bytes the driver writes, for the progress bar.
class ProgressPlatform : public platform::PlatformWrapper {
 public:
  ProgressPlatform(platform::Platform* target, ProgressBar& bar)
      : PlatformWrapper(target), bar_(bar) {}
  std::int32_t Write(platform::FileHandle file, const void* buffer, std::int32_t count) override {
    const std::int32_t written = PlatformWrapper::Write(file, buffer, count);
    if (written > 0) bar_.Update(done_ += static_cast<std::uint64_t>(written));
    return written;
  }

 private:
  ProgressBar& bar_;
  std::uint64_t done_ = 0;
};

// A file name that does not exist yet, beside target (or in the temporary
// folder), removed again when the object goes unless it was kept.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& beside) {
    fs::path folder = beside.empty() ? fs::temp_directory_path() : fs::path(beside).parent_path();
    const std::string stem = beside.empty() ? "lzhpack" : fs::path(beside).filename().string();
    std::random_device random;
    std::error_code ec;
    do {
      path_ = (folder / (stem + ".lzhpack-" + std::to_string(random() % 1000000))).string();
    } while (fs::exists(path_, ec));
  }
  ~TemporaryFile() {
    std::error_code ec;
    if (!kept_) fs::remove(path_, ec);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

// Copies everything from one input to one output name ("-" for the
// standard streams).
void CopyStream(const std::string& from, const std::string& to) {
  InputFile input(from);
  OutputFile output(to);
  std::uint8_t buffer[kChunk];
  for (;;) {
    const std::size_t got = input.Read(buffer, sizeof buffer);
    output.Write(buffer, got);
    if (got < sizeof buffer) break;
  }
  input.Close();
  output.Commit();
}

// The header, for a clearer message than the driver's own and for the size
// of the progress bar.
std::int32_t CheckHeader(const std::string& path, const std::string& label) {
  InputFile input(path);
  std::uint8_t header[lzh::ContainerHeaderSize];
  std::size_t got = input.Read(header, 4);
  if (got == 4 && lzh::GetLittleEndian32(header) != lzh::ContainerMagic) {
    throw ToolError(label + " is not a compressed file container");
  }
  if (got == 4) got += input.Read(header + 4, 4);
  if (got < sizeof header) {
    throw ToolError(label + ": container header cut short (" + std::to_string(got) +
                    " of 8 bytes)");
  }
  return lzh::GetDeclaredSize(header);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

void Expand(const std::string& in, const std::string& out) {
  // Standard input is spooled into a file first: the driver reads files.
  TemporaryFile spool("");
  std::string input_path = in;
  if (in == "-") {
    CopyStream("-", spool.path());
    input_path = spool.path();
  }
  const std::int32_t declared = CheckHeader(input_path, InputLabel(in));

  TemporaryFile output(out == "-" ? std::string() : out);
  ProgressBar bar("expanding", declared > 0 ? static_cast<std::uint64_t>(declared) : 0);
  ProgressPlatform host(platform::Platform::Default(), bar);
  lzh::SetDriverPlatform(&host);
  lzh::InFileName = input_path;
  lzh::OutFileName = output.path();
  try {
    lzh::ExpandContainer();
  } catch (const platform::Exception& failure) {
    lzh::SetDriverPlatform(nullptr);
    // The driver names its own files: show the user's names instead.
    std::string message = Replace(failure.Message(), output.path(), out == "-" ? "standard output" : out);
    if (in == "-") message = Replace(message, spool.path(), "standard input");
    throw ToolError(message);
  }
  lzh::SetDriverPlatform(nullptr);
  bar.Finish();

  if (out == "-") {
    CopyStream(output.path(), "-");
    return;
  }
  std::error_code ec;
  fs::rename(output.path(), out, ec);
  if (ec) throw ToolError("cannot write output " + OutputLabel(out) + ": " + ec.message());
  output.Keep();
}

}  // namespace lzhpack

// Inputs and outputs of the lzhpack tool, with the C standard library's files.
#include "tools/lzhpack_io.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace lzhpack {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;

std::string Reason() { return std::strerror(errno); }

std::string TooLarge(const std::string& name, std::uint64_t limit) {
  return InputLabel(name) + " is too large for a container (at most " + std::to_string(limit) +
         " bytes)";
}

}  // namespace

std::string InputLabel(const std::string& name) {
  return name == "-" ? std::string("standard input") : "'" + name + "'";
}

std::string OutputLabel(const std::string& name) {
  return name == "-" ? std::string("standard output") : "'" + name + "'";
}

std::vector<std::uint8_t> ReadWholeInput(const std::string& name, std::uint64_t limit) {
  if (name != "-") {
    std::error_code ec;
    const std::filesystem::path path(name);
    if (std::filesystem::is_regular_file(path, ec) &&
        std::filesystem::file_size(path, ec) > limit && !ec) {
      throw ToolError(TooLarge(name, limit));
    }
  }
  InputFile input(name);
  std::vector<std::uint8_t> data;
  for (;;) {
    const std::size_t old = data.size();
    data.resize(old + kChunk);
    const std::size_t got = input.Read(data.data() + old, kChunk);
    data.resize(old + got);
    if (data.size() > limit) throw ToolError(TooLarge(name, limit));
    if (got < kChunk) break;
  }
  return data;
}

InputFile::InputFile(const std::string& name) : name_(name) {
  if (name == "-") {
    file_ = stdin;
    return;
  }
  std::error_code ec;
  if (std::filesystem::is_directory(name, ec)) {
    throw ToolError("cannot open input " + InputLabel(name) + ": it is a directory");
  }
  file_ = std::fopen(name.c_str(), "rb");
  if (file_ == nullptr) throw ToolError("cannot open input " + InputLabel(name) + ": " + Reason());
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() {
  if (file_ != nullptr && file_ != stdin) std::fclose(file_);
  file_ = nullptr;
}

std::size_t InputFile::Read(std::uint8_t* buffer, std::size_t count) {
  const std::size_t got = std::fread(buffer, 1, count, file_);
  if (got < count && std::ferror(file_)) {
    throw ToolError("cannot read input " + InputLabel(name_) + ": " + Reason());
  }
  return got;
}

OutputFile::OutputFile(const std::string& name) : name_(name) {
  if (name == "-") {
    file_ = stdout;
    return;
  }
  std::random_device random;
  for (int attempt = 0; attempt < 8 && file_ == nullptr; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    temporary_ = name + suffix;
    std::error_code ec;
    if (std::filesystem::exists(temporary_, ec)) continue;
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_ == nullptr) {
      throw ToolError("cannot create output " + OutputLabel(name) + ": " + Reason());
    }
  }
  if (file_ == nullptr) throw ToolError("cannot create output " + OutputLabel(name));
}

OutputFile::~OutputFile() {
  if (committed_ || file_ == stdout) return;
  if (file_ != nullptr) std::fclose(file_);
  std::remove(temporary_.c_str());
}

void OutputFile::Fail(const std::string& what) {
  throw ToolError("cannot write output " + OutputLabel(name_) + ": " + what);
}

void OutputFile::Write(const std::uint8_t* bytes, std::size_t count) {
  if (count != 0 && std::fwrite(bytes, 1, count, file_) != count) Fail(Reason());
}

void OutputFile::Commit() {
  if (file_ == stdout) {
    if (std::fflush(stdout) != 0) Fail(Reason());
    committed_ = true;
    return;
  }
  std::FILE* const file = file_;
  file_ = nullptr;
  if (std::fflush(file) != 0 || std::ferror(file)) {
    const std::string reason = Reason();
    std::fclose(file);
    Fail(reason);
  }
  if (std::fclose(file) != 0) Fail(Reason());
  std::error_code ec;
  std::filesystem::rename(temporary_, name_, ec);
  std::error_code probe;
  if (ec && std::filesystem::is_regular_file(name_, probe)) {
    // Some hosts do not rename over an existing file.
    std::error_code removed;
    if (std::filesystem::remove(name_, removed)) {
      ec.clear();
      std::filesystem::rename(temporary_, name_, ec);
    }
  }
  if (ec) Fail(ec.message());
  committed_ = true;
}

}  // namespace lzhpack

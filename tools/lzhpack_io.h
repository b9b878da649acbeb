// File handling of the lzhpack tool: whole inputs, streamed inputs and
// outputs that appear under their name only when complete. "-" stands for
// standard input or output. Every failure is a ToolError with a one-line
// message that names the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace lzhpack {

class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Quoted file name for messages; "-" becomes "standard input/output".
std::string InputLabel(const std::string& name);
std::string OutputLabel(const std::string& name);

// Reads a whole input. Refuses one of more than limit bytes, before reading
// it when its size is known up front.
std::vector<std::uint8_t> ReadWholeInput(const std::string& name, std::uint64_t limit);

class InputFile {
 public:
  explicit InputFile(const std::string& name);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Up to count bytes; fewer only at the end of the input.
  std::size_t Read(std::uint8_t* buffer, std::size_t count);
  // Closes the file early (Windows cannot replace a file that is open).
  void Close();
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  std::FILE* file_ = nullptr;
};

// Writes to a temporary file beside the target and renames it to the target
// in Commit(); destroyed without Commit() it deletes the temporary file.
// Standard output is written directly.
class OutputFile {
 public:
  explicit OutputFile(const std::string& name);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(const std::uint8_t* bytes, std::size_t count);
  void Commit();

 private:
  void Fail(const std::string& what);

  std::string name_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;
};

}  // namespace lzhpack

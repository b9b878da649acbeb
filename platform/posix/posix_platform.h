// The POSIX host: files through file descriptors guarded by exclusive
// non-blocking locks ("no sharing"), resources linked into the executable
// from the resource script, $TMPDIR (else /tmp) as the temporary directory,
// and the shell's "open" as a detached start of the file as a program.
#pragma once

#include <string>

#include "platform/platform.h"

namespace platform {

class PosixPlatform final : public Platform {
 public:
  bool FindResource(const char* type, const char* name, Resource* out) override;
  std::uint32_t GetTempPath(std::uint32_t capacity, char* buffer) override;
  bool IsFolder(const Path& path) override;
  bool CreateFolder(const Path& path) override;
  FileHandle OpenRead(const Path& path) override;
  FileHandle Create(const Path& path) override;
  std::int32_t Read(FileHandle file, void* buffer, std::int32_t count) override;
  std::int32_t Write(FileHandle file, const void* buffer, std::int32_t count) override;
  void Flush(FileHandle file) override;
  void Close(FileHandle file) override;
  void DeleteFile(const Path& path) override;
  void* GetMemory(std::size_t size) override;
  void FreeMemory(void* block) override;
  void ShellExecute(const char* verb, const Path& file, const char* parameters,
                    const Path& directory, int show_command) override;
  void InitializeApplication() override;
  void SetTitle(const char* title) override;
  void RunMessageLoop() override;
  void ReportUncaught(const Exception& failure) override;

 private:
  std::string title_;
};

}  // namespace platform

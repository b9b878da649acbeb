// The Win32 host: the kernel32 resource and file calls, shell32's
// ShellExecuteA and user32's application window, caption and message box.
// Include only after platform/win32/windows_api.h.
#pragma once

#include "platform/platform.h"
#include "platform/win32/windows_api.h"

namespace platform {

class Win32Platform final : public Platform {
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

  // Creates the application object's window: top-level, zero size, shown,
  // captioned with the program file's name until a title is set.
  void CreateApplicationWindow();

 private:
  HWND window_ = nullptr;
};

}  // namespace platform

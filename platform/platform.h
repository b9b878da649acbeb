// The one interface through which the launcher and the file driver reach the
// host: module resources, the temporary directory, folders, files, memory,
// the shell, the application object and the report of an uncaught failure.
// One implementation per host is chosen by the build (win32/ or posix/); tests
// wrap it to record calls and to make chosen operations fail.
// Single thread: nothing here is safe to call from two threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/exception.h"

namespace platform {

// 8-bit path in the system code page, compared byte by byte.
using Path = std::string;

// 0 = never opened, negative = the open failed, positive = open.
using FileHandle = std::int32_t;

struct Resource {
  const std::uint8_t* data = nullptr;  // the bytes in place, never copied
  std::uint32_t size = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The host's own implementation, created on first use. It lives for the
  // process. The application window is not created here but by the start-up
  // in platform/application.h.
  static Platform* Default();

  // A resource of the running executable; type and name compared without
  // regard to case. False when it is missing or cannot be loaded.
  virtual bool FindResource(const char* type, const char* name, Resource* out) = 0;

  // The temporary directory, with the system call's contract: writes the path
  // and its zero into buffer when capacity suffices and returns the path's
  // length; otherwise returns the capacity needed (zero included); 0 when the
  // system cannot report it.
  virtual std::uint32_t GetTempPath(std::uint32_t capacity, char* buffer) = 0;

  // True when the path names an existing folder.
  virtual bool IsFolder(const Path& path) = 0;
  // Creates one folder (its parent must exist); the result says whether it
  // was created.
  virtual bool CreateFolder(const Path& path) = 0;

  // Read access, no sharing, the file must exist.
  virtual FileHandle OpenRead(const Path& path) = 0;
  // Read and write access, no sharing, an existing file replaced by an empty
  // one. A read-only file, or one that is open elsewhere, cannot be replaced
  // and is left as it was.
  virtual FileHandle Create(const Path& path) = 0;
  // Count moved (0 at the end of a file), or -1 on failure. A write moves
  // every byte or reports a short count.
  virtual std::int32_t Read(FileHandle file, void* buffer, std::int32_t count) = 0;
  virtual std::int32_t Write(FileHandle file, const void* buffer, std::int32_t count) = 0;
  // Results of these three are not reported.
  virtual void Flush(FileHandle file) = 0;
  virtual void Close(FileHandle file) = 0;
  virtual void DeleteFile(const Path& path) = 0;

  // Process memory: null when exhausted (or for 0 bytes); freeing null does nothing.
  virtual void* GetMemory(std::size_t size) = 0;
  virtual void FreeMemory(void* block) = 0;

  // The shell's "open" of a file with the given parameters, working
  // directory and show command: not waited for, result not reported.
  virtual void ShellExecute(const char* verb, const Path& file, const char* parameters,
                            const Path& directory, int show_command) = 0;

  // The application object. It exists (with its window) before the
  // launcher's first step; initialising it does nothing more. The title
  // becomes the window caption. The message loop returns at once: there is
  // no main window.
  virtual void InitializeApplication() = 0;
  virtual void SetTitle(const char* title) = 0;
  virtual void RunMessageLoop() = 0;

  // The report of an uncaught failure (message box on Windows, standard
  // error on POSIX). The caller ends the process with exit code 1.
  virtual void ReportUncaught(const Exception& failure) = 0;
};

}  // namespace platform

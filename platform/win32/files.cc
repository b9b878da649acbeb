// Win32 files and folders: CreateFileA without sharing, ReadFile and
// WriteFile giving the count moved or -1. A handle is the HANDLE value as a
// signed 32-bit number (Windows handles fit in 32 bits, also on 64-bit
// Windows); INVALID_HANDLE_VALUE becomes -1.
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

FileHandle ToHandle(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return -1;
  return static_cast<FileHandle>(reinterpret_cast<std::intptr_t>(handle));
}

HANDLE FromHandle(FileHandle file) {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(file));
}

}  // namespace

std::uint32_t Win32Platform::GetTempPath(std::uint32_t capacity, char* buffer) {
  return GetTempPathA(capacity, buffer);
}

bool Win32Platform::IsFolder(const Path& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Platform::CreateFolder(const Path& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

FileHandle Win32Platform::OpenRead(const Path& path) {
  return ToHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

FileHandle Win32Platform::Create(const Path& path) {
  // Windows refuses to replace a read-only file; Wine running as root would
  // not, so the attribute is checked here as well.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return -1;
  }
  return ToHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::int32_t Win32Platform::Read(FileHandle file, void* buffer, std::int32_t count) {
  DWORD done = 0;
  if (file <= 0 || count < 0 ||
      !ReadFile(FromHandle(file), buffer, static_cast<DWORD>(count), &done, nullptr)) {
    return -1;
  }
  return static_cast<std::int32_t>(done);
}

std::int32_t Win32Platform::Write(FileHandle file, const void* buffer, std::int32_t count) {
  DWORD done = 0;
  if (file <= 0 || count < 0 ||
      !WriteFile(FromHandle(file), buffer, static_cast<DWORD>(count), &done, nullptr)) {
    return -1;
  }
  return static_cast<std::int32_t>(done);
}

void Win32Platform::Flush(FileHandle file) {
  if (file > 0) FlushFileBuffers(FromHandle(file));
}

void Win32Platform::Close(FileHandle file) {
  if (file > 0) CloseHandle(FromHandle(file));
}

void Win32Platform::DeleteFile(const Path& path) { DeleteFileA(path.c_str()); }

}  // namespace platform

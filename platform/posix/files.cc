// POSIX files and folders. A handle is the descriptor plus one, so that it is
// positive when open. "No sharing" is an exclusive non-blocking flock() taken
// on every open, before anything is truncated: a second opener (in this
// process or another) fails instead of cutting a file that is in use. A file
// with no write bit at all is read-only, even for root.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/posix/posix_platform.h"

namespace platform {

namespace {

constexpr FileHandle kFailed = -1;

int Descriptor(FileHandle file) { return file - 1; }

FileHandle LockedHandle(int fd) {
  if (fd < 0) return kFailed;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return kFailed;
  }
  return fd + 1;
}

}  // namespace

std::uint32_t PosixPlatform::GetTempPath(std::uint32_t capacity, char* buffer) {
  const char* dir = std::getenv("TMPDIR");
  std::string path = dir != nullptr && dir[0] != '\0' ? dir : "/tmp";
  if (path.back() != '/') path += '/';
  const auto length = static_cast<std::uint32_t>(path.size());
  if (length + 1 > capacity) return length + 1;
  std::memcpy(buffer, path.c_str(), length + 1);
  return length;
}

bool PosixPlatform::IsFolder(const Path& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PosixPlatform::CreateFolder(const Path& path) { return mkdir(path.c_str(), 0777) == 0; }

FileHandle PosixPlatform::OpenRead(const Path& path) {
  return LockedHandle(open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

FileHandle PosixPlatform::Create(const Path& path) {
  bool created = false;
  int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) {
    fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    created = fd >= 0;
  }
  const FileHandle file = LockedHandle(fd);
  if (file < 0) return kFailed;
  struct stat info;
  const bool refused = fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
                       (!created && (info.st_mode & 0222) == 0);
  if (refused || ftruncate(fd, 0) != 0) {
    close(fd);
    return kFailed;
  }
  return file;
}

std::int32_t PosixPlatform::Read(FileHandle file, void* buffer, std::int32_t count) {
  if (file <= 0 || count < 0) return -1;
  auto* bytes = static_cast<char*>(buffer);
  std::int32_t done = 0;
  while (done < count) {
    const ssize_t got = read(Descriptor(file), bytes + done, static_cast<std::size_t>(count - done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return done > 0 ? done : -1;
    if (got == 0) break;
    done += static_cast<std::int32_t>(got);
  }
  return done;
}

std::int32_t PosixPlatform::Write(FileHandle file, const void* buffer, std::int32_t count) {
  if (file <= 0 || count < 0) return -1;
  const auto* bytes = static_cast<const char*>(buffer);
  std::int32_t done = 0;
  while (done < count) {
    const ssize_t put = write(Descriptor(file), bytes + done, static_cast<std::size_t>(count - done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return done > 0 ? done : -1;
    done += static_cast<std::int32_t>(put);
  }
  return done;
}

void PosixPlatform::Flush(FileHandle file) {
  if (file > 0) fsync(Descriptor(file));
}

void PosixPlatform::Close(FileHandle file) {
  if (file > 0) close(Descriptor(file));
}

void PosixPlatform::DeleteFile(const Path& path) { unlink(path.c_str()); }

}  // namespace platform

// GetTempFolder, IncludeTrailingSeparator and ExtractResourceToFile, on top
// of the platform interface only.
#include "launcher/staging.h"

#include <vector>

#include "path_separator.h"

namespace launcher {

namespace {

constexpr std::uint32_t kTempPathCapacity = 255;  // terminating zero included
constexpr int kTempPathAttempts = 4;

// Closes the file however the extraction ends.
class FileCloser {
 public:
  FileCloser(platform::Platform& host, platform::FileHandle file) : host_(host), file_(file) {}
  ~FileCloser() { host_.Close(file_); }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;

 private:
  platform::Platform& host_;
  platform::FileHandle file_;
};

}  // namespace

platform::Path GetTempFolder(platform::Platform& host) {
  std::vector<char> buffer(kTempPathCapacity, '\0');
  std::uint32_t length = host.GetTempPath(kTempPathCapacity, buffer.data());
  // A longer path: ask again with the size needed (the directory may change
  // between the calls, so a few times until it fits).
  for (int attempt = 0; length >= buffer.size(); ++attempt) {
    if (attempt == kTempPathAttempts) length = 0;
    if (length == 0) break;
    buffer.assign(length, '\0');
    length = host.GetTempPath(static_cast<std::uint32_t>(buffer.size()), buffer.data());
  }
  if (length == 0) {
    throw platform::Exception("Temporaeres Verzeichnis nicht gefunden");
  }
  return platform::Path(buffer.data());  // up to the first zero byte
}

platform::Path IncludeTrailingSeparator(const platform::Path& path) {
  if (path.empty() || path.back() == platform::kPathSeparator) return path;
  return path + platform::kPathSeparator;
}

void ExtractResourceToFile(platform::Platform& host, const char* type, const char* name,
                           const platform::Path& path) {
  platform::Resource resource;
  if (!host.FindResource(type, name, &resource)) {
    throw platform::EResNotFound(std::string("Ressource ") + name + " nicht gefunden");
  }
  const platform::FileHandle file = host.Create(path);
  if (file < 0) {
    throw platform::EFCreateError("Kann Datei " + path + " nicht erstellen");
  }
  FileCloser closer(host, file);
  if (resource.size == 0) return;
  const auto size = static_cast<std::int32_t>(resource.size);
  if (host.Write(file, resource.data, size) != size) {
    throw platform::EWriteError("Stream-Write-Fehler ");
  }
}

}  // namespace launcher

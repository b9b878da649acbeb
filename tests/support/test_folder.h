// A fresh, empty folder for one test, removed with everything in it when the
// test ends, and small helpers to read and write whole files. Standard
// library only; paths use the host's separator.
#pragma once

#include <string>

namespace platform_testing {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder, without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + separator + name.
  std::string operator/(const std::string& name) const;

 private:
  std::string path_;
};

// The file's bytes; "<missing>" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Removes every write bit (the file counts as read-only), or gives the owner's back.
void SetReadOnly(const std::string& path, bool read_only);

}  // namespace platform_testing

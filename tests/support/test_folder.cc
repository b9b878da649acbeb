// TestFolder and the whole-file helpers, on std::filesystem.
#include "tests/support/test_folder.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "gtest/gtest.h"
#include "path_separator.h"

namespace platform_testing {

namespace fs = std::filesystem;

TestFolder::TestFolder() {
  std::random_device random;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test != nullptr ? std::string(test->test_suite_name()) + "." + test->name() : "test";
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '_';
  }
  const fs::path base = fs::temp_directory_path();
  fs::path folder;
  do {
    folder = base / (name + "-" + std::to_string(random() % 1000000));
  } while (!fs::create_directories(folder));
  path_ = folder.string();
}

TestFolder::~TestFolder() {
  std::error_code error;
  // Read-only files inside do not stop the removal.
  for (const auto& entry : fs::recursive_directory_iterator(path_, error)) {
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
  }
  fs::remove_all(path_, error);
}

std::string TestFolder::operator/(const std::string& name) const {
  return path_ + platform::kPathSeparator + name;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

void SetReadOnly(const std::string& path, bool read_only) {
  const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (read_only) {
    fs::permissions(path, write, fs::perm_options::remove);
  } else {
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
  }
}

}  // namespace platform_testing

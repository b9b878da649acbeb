// Loading of the benchmark corpora.
#include "bench/corpora.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace bench {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFile(const fs::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> out(limit);
  in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(limit));
  out.resize(static_cast<std::size_t>(in.gcount()));
  return out;
}

}  // namespace

Corpus LoadProgramCorpus() {
  constexpr std::size_t kSize = 24914952;
  Corpus c{"B", ReadFile("/usr/lib/x86_64-linux-gnu/libLLVM-14.so.1", kSize)};
  if (c.data.size() != kSize) c.data.clear();
  return c;
}

Corpus LoadLicenseCorpus() {
  Corpus c{"T", {}};
  std::error_code ec;
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator("/usr/share/common-licenses", ec)) {
    if (fs::is_regular_file(entry.path())) names.push_back(entry.path());  // follows links
  }
  std::sort(names.begin(), names.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
  for (const auto& name : names) {
    const auto bytes = ReadFile(name, std::size_t{1} << 24);
    c.data.insert(c.data.end(), bytes.begin(), bytes.end());
  }
  return c;
}

}  // namespace bench

// Benchmark of the container writer and of expansion: for each corpus and
// writer mode the container size and the input rate, a check that the
// decoder gives the input back, and the output rate of `lzhpack expand` run
// as a whole process, file to file. Prints each figure next to its target.
// Usage: lzhpack_bench [--runs N] [--no-best]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/corpora.h"
#include "lzh/container_writer.h"
#include "lzh/lzh_unpack.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

double MegabytesPerSecond(std::size_t bytes, double seconds) { return bytes / seconds / 1e6; }

struct Limits {
  std::size_t lazy_size;
  std::size_t best_size;
};

const char* Verdict(bool ok) { return ok ? "ok" : "MISSED"; }

Bytes Decode(const Bytes& container) {
  struct Reader {
    const Bytes& data;
    std::size_t pos = 8;
    void operator()(std::uint8_t* b, std::uint16_t n, std::uint16_t& got) {
      got = 0;
      while (got < n && pos < data.size()) b[got++] = data[pos++];
    }
  } reader{container};
  Bytes out;
  struct Writer {
    Bytes& out;
    void operator()(const std::uint8_t* b, std::uint16_t n, std::uint16_t& taken) {
      out.insert(out.end(), b, b + n);
      taken = n;
    }
  } writer{out};
  std::int32_t declared;
  std::memcpy(&declared, container.data() + 4, 4);
  out.reserve(static_cast<std::size_t>(declared));
  lzh::LzhUnpackWith(declared, reader, writer);
  return out;
}

// Compresses runs times, keeps the fastest; checks the round trip once.
Bytes Compress(const bench::Corpus& corpus, lzh::WriterMode mode, int runs, std::size_t limit,
               double min_rate, bool& all_ok) {
  Bytes container;
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    Bytes out;
    out.reserve(corpus.data.size() / 2);
    lzh::WriterOptions options;
    options.mode = mode;
    const auto start = Clock::now();
    lzh::WriteContainer(
        corpus.data.data(), corpus.data.size(),
        [&out](const std::uint8_t* b, std::size_t n) { out.insert(out.end(), b, b + n); }, options);
    best = std::min(best, Seconds(start));
    container.swap(out);
  }
  const bool round_trip = Decode(container) == corpus.data;
  const bool size_ok = container.size() <= limit;
  const double rate = MegabytesPerSecond(corpus.data.size(), best);
  const bool rate_ok = rate >= min_rate;
  all_ok = all_ok && round_trip && size_ok && rate_ok;
  std::printf("%-2s %-5s %10zu -> %9zu bytes (%.2f%%)  target <= %9zu %-6s  %7.2f MB/s of input",
              corpus.name.c_str(), mode == lzh::WriterMode::Best ? "best" : "lazy",
              corpus.data.size(), container.size(), 100.0 * container.size() / corpus.data.size(),
              limit, Verdict(size_ok), rate);
  if (min_rate > 0) std::printf("  target >= %.0f %-6s", min_rate, Verdict(rate_ok));
  std::printf("  round trip %s\n", round_trip ? "ok" : "FAILED");
  return container;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  bool with_best = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--no-best") == 0) {
      with_best = false;
    } else {
      std::fprintf(stderr, "usage: lzhpack_bench [--runs N] [--no-best]\n");
      return 2;
    }
  }

  bool all_ok = true;
  const bench::Corpus corpora[] = {bench::LoadProgramCorpus(), bench::LoadLicenseCorpus()};
  const Limits limits[] = {{8700000, 8560000}, {108500, 105700}};
  Bytes program_container;
  for (int c = 0; c < 2; ++c) {
    const bench::Corpus& corpus = corpora[c];
    if (corpus.data.empty()) {
      std::printf("%s: corpus not found on this machine, skipped\n", corpus.name.c_str());
      continue;
    }
    Bytes lazy = Compress(corpus, lzh::WriterMode::Lazy, runs, limits[c].lazy_size, 25, all_ok);
    if (c == 0) program_container = lazy;
    if (with_best) Compress(corpus, lzh::WriterMode::Best, 1, limits[c].best_size, 0, all_ok);
  }

  if (!program_container.empty()) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "lzhpack_bench";
    fs::create_directories(dir);
    const fs::path packed = dir / "B.hzl";
    const fs::path out = dir / "B.out";
    {
      std::ofstream f(packed, std::ios::binary);
      f.write(reinterpret_cast<const char*>(program_container.data()),
              static_cast<std::streamsize>(program_container.size()));
    }
    const std::string command =
        std::string("\"") + LZHPACK_PATH + "\" expand \"" + packed.string() + "\" \"" + out.string() + "\"";
    double best = 1e30;
    bool ok = true;
    for (int i = 0; i < runs; ++i) {
      // Outside the timing: an earlier output is removed and the input's
      // pages are on disk, so the run pays only for its own expansion.
      fs::remove(out);
      ok = ok && std::system("sync") == 0;
      const auto start = Clock::now();
      ok = ok && std::system(command.c_str()) == 0;
      best = std::min(best, Seconds(start));
    }
    std::ifstream f(out, std::ios::binary | std::ios::ate);
    const std::size_t produced = static_cast<std::size_t>(f.tellg());
    ok = ok && produced == corpora[0].data.size();
    const double rate = MegabytesPerSecond(produced, best);
    all_ok = all_ok && ok && rate >= 85;
    std::printf("B  lzhpack expand (whole process, file to file): %.2f MB/s of output  target >= 85 %s%s\n",
                rate, Verdict(rate >= 85), ok ? "" : "  (run FAILED)");
    fs::remove_all(dir);
  }
  return all_ok ? 0 : 1;
}

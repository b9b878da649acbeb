// Drawing of the progress bar: carriage return, label, bar, percentage.
#include "tools/lzhpack_progress.h"

#include <cstdio>
#include <utility>

#include "platform/terminal.h"

namespace lzhpack {
namespace {
constexpr int kWidth = 40;
}

ProgressBar::ProgressBar(std::string label, std::uint64_t total)
    : label_(std::move(label)),
      total_(total),
      shown_(total >= kMinimumTotal && platform::StandardErrorIsTerminal()) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Update(std::uint64_t done) {
  if (!shown_) return;
  if (done > total_) done = total_;
  const int percent = static_cast<int>(done * 100 / total_);
  if (percent == last_percent_) return;
  last_percent_ = percent;
  char bar[kWidth + 1];
  const int filled = percent * kWidth / 100;
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = '\0';
  std::fprintf(stderr, "\r%s [%s] %3d%%", label_.c_str(), bar, percent);
  std::fflush(stderr);
}

void ProgressBar::Finish() {
  if (!shown_) return;
  shown_ = false;
  // Blank the line so that a following message starts clean.
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(label_.size()) + kWidth + 8, "");
  std::fflush(stderr);
}

}  // namespace lzhpack

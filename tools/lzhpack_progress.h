// A one-line progress bar on standard error for long runs of the lzhpack
// tool. It shows itself only when standard error is a terminal and the work
// is large enough to take noticeable time.
#pragma once

#include <cstdint>
#include <string>

namespace lzhpack {

class ProgressBar {
 public:
  // Work of total bytes; shown when total is at least kMinimumTotal and
  // standard error is a terminal.
  ProgressBar(std::string label, std::uint64_t total);
  ~ProgressBar();  // clears the line if it is still shown
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(std::uint64_t done);
  void Finish();

  static constexpr std::uint64_t kMinimumTotal = std::uint64_t{4} << 20;

 private:
  std::string label_;
  std::uint64_t total_;
  bool shown_;
  int last_percent_ = -1;
};

}  // namespace lzhpack

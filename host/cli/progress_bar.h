// A progress bar on the terminal, drawn only when the import takes noticeable time, so
// that quick imports and redirected output stay clean.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace m5host {

class ProgressBar {
 public:
  explicit ProgressBar(std::FILE* terminal) : m_out(terminal) {}
  ~ProgressBar() { Clear(); }
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(const std::string& file, float percent);
  // Removes the bar from the terminal.
  void Clear();

 private:
  using Clock = std::chrono::steady_clock;
  std::FILE* m_out;
  Clock::time_point m_start = Clock::now();
  bool m_shown = false;
  int m_lastDrawn = -1;
};

}  // namespace m5host

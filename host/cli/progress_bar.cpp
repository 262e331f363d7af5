#include "host/cli/progress_bar.h"

#include <cmath>

namespace m5host {

namespace {

constexpr auto kQuietTime = std::chrono::milliseconds(400);
constexpr int kWidth = 30;

}  // namespace

void ProgressBar::Update(const std::string& file, float percent) {
  if (!(percent >= 0.0f)) {
    percent = 0.0f;  // also NaN
  }
  const int whole = percent > 100.0f ? 100 : static_cast<int>(percent);
  if (!m_shown && Clock::now() - m_start < kQuietTime) {
    return;
  }
  if (whole == m_lastDrawn) {
    return;
  }
  m_shown = true;
  m_lastDrawn = whole;
  const int filled = whole * kWidth / 100;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, '.');
  std::fprintf(m_out, "\r[%s] %3d%% %s\x1b[K", bar.c_str(), whole, file.c_str());
  std::fflush(m_out);
}

void ProgressBar::Clear() {
  if (m_shown) {
    std::fprintf(m_out, "\r\x1b[K");
    std::fflush(m_out);
    m_shown = false;
    m_lastDrawn = -1;
  }
}

}  // namespace m5host

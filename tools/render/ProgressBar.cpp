#include "render/ProgressBar.h"

#include <algorithm>
#include <string>

ProgressBar::ProgressBar(std::ostream& stream, std::int64_t total)
    : stream(stream), total(std::max<std::int64_t>(total, 1)) {
  draw(0);
}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update(std::int64_t done) {
  const int percent = static_cast<int>(std::clamp<std::int64_t>(done * 100 / total, 0, 100));
  if (percent != shownPercent) draw(percent);
}

void ProgressBar::finish() {
  if (finished) return;
  finished = true;
  stream << '\n' << std::flush;
}

void ProgressBar::draw(int percent) {
  shownPercent = percent;
  const int filled = percent * kWidth / 100;
  const std::string percentText = std::to_string(percent);
  stream << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
         << std::string(3 - percentText.size(), ' ') << percentText << '%' << std::flush;
}

bool worthAProgressBar(std::int64_t frames, double sampleRate) { return frames > 10.0 * sampleRate; }

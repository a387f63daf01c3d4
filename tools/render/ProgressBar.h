// A progress bar redrawn in place on a terminal.
#pragma once

#include <cstdint>
#include <ostream>

// Draws "[#####.....]  50%" on one line, redrawing it only when the shown
// percentage changes, and ends the line when finished or destroyed.
class ProgressBar {
 public:
  ProgressBar(std::ostream& stream, std::int64_t total);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void update(std::int64_t done);
  void finish();

 private:
  static constexpr int kWidth = 40;

  void draw(int percent);

  std::ostream& stream;
  std::int64_t total;
  int shownPercent = -1;
  bool finished = false;
};

// Whether a run of this many frames is long enough to show a bar: more than
// ten seconds of audio.
bool worthAProgressBar(std::int64_t frames, double sampleRate);

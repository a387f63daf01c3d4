#include "render/TailRule.h"

#include <algorithm>
#include <cmath>

namespace {

std::int64_t framesOf(double seconds, double sampleRate) {
  return static_cast<std::int64_t>(std::llround(seconds * sampleRate));
}

}  // namespace

TailRule TailRule::at(double sampleRate, std::int64_t reportedTail, double longestSeconds) {
  TailRule rule;
  rule.quietLevel = static_cast<float>(std::pow(10.0, kQuietDbfs / 20.0));
  rule.quietRun = std::max<std::int64_t>(framesOf(kQuietSeconds, sampleRate), 1);
  rule.longest = framesOf(longestSeconds, sampleRate);
  rule.shortest = std::min(reportedTail, rule.longest);
  rule.fade = std::max<std::int64_t>(framesOf(kFadeSeconds, sampleRate), 1);
  return rule;
}

#include "graph/DividerAN.h"

float DividerAN::getValue(VstInt32 which) {
  if (which != kRatio) return getParam(which, 1.0f);
  const float numerator = getParam(0, 1.0f);
  const float denominator = getParam(1, 1.0f);
  if (denominator == 0.0f) return maxRatio;
  const double ratio = static_cast<double>(numerator) / denominator;
  // A NaN ratio fails the comparison and is bounded like a large one.
  return ratio < maxRatio ? static_cast<float>(ratio) : maxRatio;
}

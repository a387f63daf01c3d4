#include "render/FrequencyContent.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/FftwPlannerLock.h"

namespace {

constexpr double kFloorDecibels = -200.0;

// One real-to-complex transform of a fixed size, with FFTW's own buffers.
class RealTransform {
 public:
  explicit RealTransform(std::size_t size)
      : input(fftwf_alloc_real(size)), output(fftwf_alloc_complex(size / 2 + 1)), plan(makePlan(size)) {}
  ~RealTransform() {
    {
      const std::lock_guard planning(fftwPlannerLock());
      fftwf_destroy_plan(plan);
    }
    fftwf_free(output);
    fftwf_free(input);
  }
  RealTransform(const RealTransform&) = delete;
  RealTransform& operator=(const RealTransform&) = delete;

  float* samples() { return input; }
  void run() { fftwf_execute(plan); }
  double power(std::size_t bin) const {
    const double re = output[bin][0];
    const double im = output[bin][1];
    return re * re + im * im;
  }

 private:
  fftwf_plan makePlan(std::size_t size) {
    const std::lock_guard planning(fftwPlannerLock());
    return fftwf_plan_dft_r2c_1d(static_cast<int>(size), input, output, FFTW_ESTIMATE);
  }

  float* input;
  fftwf_complex* output;
  fftwf_plan plan;
};

std::vector<double> hannWindow(std::size_t size) {
  std::vector<double> window(size);
  for (std::size_t i = 0; i < size; ++i) {
    window[i] =
        0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(size));
  }
  return window;
}

void loadFrame(RealTransform& transform, const std::vector<float>& samples, std::size_t start,
               const std::vector<double>& window) {
  float* frame = transform.samples();
  for (std::size_t i = 0; i < window.size(); ++i) {
    const float sample = start + i < samples.size() ? samples[start + i] : 0.0f;
    frame[i] = static_cast<float>(sample * window[i]);
  }
}

}  // namespace

FrequencyContent averageFrequencyContent(const std::vector<float>& samples, double sampleRate,
                                         std::size_t fftSize) {
  const std::vector<double> window = hannWindow(fftSize);
  RealTransform transform(fftSize);
  const std::size_t bins = fftSize / 2 + 1;
  const std::size_t hop = fftSize / 2;
  std::vector<double> powerSum(bins, 0.0);
  std::size_t frames = 0;
  for (std::size_t start = 0; frames == 0 || start + fftSize <= samples.size(); start += hop, ++frames) {
    loadFrame(transform, samples, start, window);
    transform.run();
    for (std::size_t bin = 0; bin < bins; ++bin) powerSum[bin] += transform.power(bin);
  }
  // A sine of amplitude A gives a peak of A × sum(window) / 2.
  double windowSum = 0.0;
  for (const double w : window) windowSum += w;
  FrequencyContent spectrum;
  spectrum.binHertz = sampleRate / static_cast<double>(fftSize);
  for (std::size_t bin = 0; bin < bins; ++bin) {
    const double magnitude = 2.0 * std::sqrt(powerSum[bin] / static_cast<double>(frames)) / windowSum;
    spectrum.decibels.push_back(magnitude > 0.0 ? std::max(kFloorDecibels, 20.0 * std::log10(magnitude))
                                                : kFloorDecibels);
  }
  return spectrum;
}

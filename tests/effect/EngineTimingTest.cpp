// Through the engine, with its samplers: a description that names its rate keeps the time of
// its echo at every factor and host rate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "TestEngines.h"

namespace {

// The dry input and its echo (the delay's built-in program: 100 ms), mixed.
std::string echoGraph(int factor) {
  return "<torvix oversampling=\"" + std::to_string(factor) +
         "\" rate=\"44100\"><fx id=\"echo\" type=\"delay\" input=\"in\"/>"
         "<mixer id=\"mix\" input=\"in\" input2=\"echo\"/></torvix>";
}

struct EchoCase {
  int factor;
  float hostRate;
};

class EngineEcho : public ::testing::TestWithParam<EchoCase> {
 protected:
  std::unique_ptr<VelkoranWin> makeEngine(const std::string& description) {
    return engines.make({{"echo.xml", description}});
  }

  TestEngines engines;
};

std::size_t loudestIn(const std::vector<float>& samples, std::size_t from, std::size_t to) {
  const auto louder = [](float a, float b) { return std::fabs(a) < std::fabs(b); };
  return static_cast<std::size_t>(std::max_element(samples.begin() + from, samples.begin() + to, louder) -
                                  samples.begin());
}

// An impulse in, in blocks of 512: the echo's peak lies 100 ms after the dry one's, whatever
// the samplers' own delay.
TEST_P(EngineEcho, ArrivesAfterTheSameTime) {
  const EchoCase& c = GetParam();
  auto engine = makeEngine(echoGraph(c.factor));
  engine->forwardToProcessors(effSetSampleRate, 0, 0, nullptr, c.hostRate);
  const auto length = static_cast<std::size_t>(0.2f * c.hostRate);
  std::vector<float> in(length, 0.0f), out(length, 0.0f);
  in[64] = 0.5f;
  for (std::size_t done = 0; done < length; done += 512) {
    const auto count = static_cast<VstInt32>(std::min<std::size_t>(512, length - done));
    float* inputs[] = {in.data() + done};
    float* outputs[] = {out.data() + done};
    engine->processReplacing(inputs, outputs, count);
  }
  const std::size_t half = length / 2;
  const std::size_t dry = loudestIn(out, 0, half - 32);
  const std::size_t echo = loudestIn(out, half - 32, length);
  EXPECT_EQ(echo - dry, static_cast<std::size_t>(std::lround(0.1f * c.hostRate)))
      << "factor " << c.factor << " at " << c.hostRate << " Hz";
}

INSTANTIATE_TEST_SUITE_P(Timing, EngineEcho,
                         ::testing::Values(EchoCase{1, 44100.0f}, EchoCase{4, 44100.0f}, EchoCase{16, 44100.0f},
                                           EchoCase{1, 48000.0f}, EchoCase{2, 96000.0f}, EchoCase{8, 96000.0f},
                                           EchoCase{4, 192000.0f}));

}  // namespace

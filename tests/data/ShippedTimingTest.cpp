// The shipped sounds at other host rates. With their root's "oversampling" and "rate" removed
// they play exactly as they always have (the same bits, at 44.1 and 96 kHz); as shipped, naming
// the rate they were written for, they sound the same at 96 kHz as at 44.1 kHz: lead's level
// followers keep their time and every sound keeps the levels of its harmonics.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "PluckedGuitar.h"
#include "ShippedArchive.h"
#include "graph/AveragerAN.h"
#include "graph/BufferBank.h"
#include "support/RunNodeByNode.h"
#include "support/SameSamples.h"

namespace {

// The lo-mid filter's gain at the default "Pre gain" (0.5): what reaches the graph.
constexpr float kPreGainFactor = 1.29744f;

// A built graph run node by node over a bank of its own, at the rate it was told.
class GraphRun {
 public:
  static constexpr int kLongestBlock = 1 << 15;

  GraphRun(AudioNode& head, float runRate) : head(head) {
    samples.assign(BufferBank::kEntryCount, std::vector<float>(kLongestBlock, 0.0f));
    for (int entry = 0; entry < BufferBank::kEntryCount; ++entry) {
      channels[entry] = samples[entry].data();
      bank.entries[entry] = &channels[entry];
    }
    for (AudioNode* node = &head; node; node = node->next.get()) {
      node->dispatchToEffect(effSetSampleRate, 0, 0, nullptr, runRate);
      node->dispatchToEffect(effMainsChanged, 0, 1, nullptr, 0.0f);
    }
  }

  // The output for input, run in blocks whose lengths repeat pattern (at most kLongestBlock
  // samples each); after each block,
  // observe (if given) is called with the samples done so far.
  template <typename Observe>
  std::vector<float> run(const std::vector<float>& input, const std::vector<int>& pattern, Observe observe) {
    std::vector<float> output;
    output.reserve(input.size());
    for (std::size_t done = 0, piece = 0; done < input.size(); piece = (piece + 1) % pattern.size()) {
      const auto count = static_cast<VstInt32>(
          std::min<std::size_t>(std::min(pattern[piece], kLongestBlock), input.size() - done));
      std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(done), count,
                  samples[BufferBank::kGraphInput].begin());
      runNodeByNode(head, bank, count);
      output.insert(output.end(), samples[BufferBank::kGraphOutput].begin(),
                    samples[BufferBank::kGraphOutput].begin() + count);
      done += static_cast<std::size_t>(count);
      observe(done);
    }
    return output;
  }

  std::vector<float> run(const std::vector<float>& input, const std::vector<int>& pattern) {
    return run(input, pattern, [](std::size_t) {});
  }

 private:
  AudioNode& head;
  std::vector<std::vector<float>> samples;
  float* channels[BufferBank::kEntryCount] = {};
  BufferBank bank;
};

// FNV-1a over the bits of every sample.
std::uint64_t bitsHash(const std::vector<float>& samples) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const float sample : samples) {
    std::uint32_t bits;
    std::memcpy(&bits, &sample, sizeof bits);
    for (int byte = 0; byte < 4; ++byte) {
      hash ^= (bits >> (8 * byte)) & 0xffu;
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

BuiltDescription builtWithoutTiming(const ShippedArchive& archive, const std::string& name) {
  return archive.build(name, ShippedArchive::RootAttributes::kWithoutTiming);
}

std::uint64_t rawOutputHash(const std::string& name, float rate) {
  const ShippedArchive archive;
  BuiltDescription built = builtWithoutTiming(archive, name);
  EXPECT_TRUE(built.head) << name << " " << built.readError << built.report.refusal;
  if (!built.head) return 0;
  std::vector<float> input = pluckedGuitar(0.5f);
  for (float& sample : input) sample *= kPreGainFactor;
  return bitsHash(GraphRun(*built.head, rate).run(input, kUnevenBlocks));
}

// The outputs of every shipped sound as it played before descriptions could name a rate or a
// factor (recorded with the code of that time), on the plucked guitar part at -6 dBFS through
// the default pre gain, in uneven blocks.
struct RawHash {
  const char* name;
  std::uint64_t at44100;
  std::uint64_t at96000;
};

const RawHash kRawHashes[] = {
    {"crunch.xml", 0x7c98c41b16c193ffull, 0x38d1ed230e853457ull},
    {"fuzz.xml", 0x99083314dbfd0a90ull, 0xde2261e8c49e0b7cull},
    {"glass.xml", 0xcaff277c0af06bc2ull, 0x45e346f4c43dcb70ull},
    {"lead.xml", 0x7e73ba69af11f479ull, 0x3977b11b92be3e0eull},
    {"scoop.xml", 0x9473a6ea51495d58ull, 0x8af4d0e66ebc50fcull},
    {"slapback.xml", 0x0a50b3356a7ffc16ull, 0xde9e5a0468a04c73ull},
};

TEST(ShippedTiming, WithoutTheirTimingTheSoundsKeepTheirBits) {
  for (const RawHash& expected : kRawHashes) {
    EXPECT_EQ(rawOutputHash(expected.name, 44100.0f), expected.at44100) << expected.name << " at 44.1 kHz";
    EXPECT_EQ(rawOutputHash(expected.name, 96000.0f), expected.at96000) << expected.name << " at 96 kHz";
  }
}

// Every description is covered.
TEST(ShippedTiming, TheHashesCoverEveryShippedSound) {
  std::vector<std::string> covered;
  for (const RawHash& hash : kRawHashes) covered.emplace_back(hash.name);
  EXPECT_EQ(covered, ShippedArchive().descriptionNames());
}

// The rate a sound's graph runs at for a host rate: the graph alone, without the engine's
// samplers around it, is fed at that rate.
float runRate(const BuiltDescription& built, float hostRate) {
  return hostRate * static_cast<float>(built.report.timing.oversampling);
}

// -12 dBFS sine of the given frequency through a sound at a run rate: the levels in dB of
// harmonics 1 to 5 of its output, over the whole cycles of the second second.
std::vector<double> harmonicLevels(AudioNode& head, float rate, double frequency) {
  const auto length = static_cast<std::size_t>(2.0 * rate);
  std::vector<float> input(length);
  const float amplitude = std::pow(10.0f, -12.0f / 20.0f) * kPreGainFactor;
  for (std::size_t i = 0; i < length; ++i)
    input[i] = amplitude * static_cast<float>(
                               std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(i) / rate));
  // Blocks of the same duration at every rate, so the mixers read their gains as often.
  const std::vector<float> output =
      GraphRun(head, rate).run(input, {static_cast<int>(std::lround(512.0 * rate / 44100.0))});
  const auto cycles = static_cast<std::size_t>(frequency);
  const auto measured = static_cast<std::size_t>(std::round(static_cast<double>(cycles) * rate / frequency));
  std::vector<double> levels;
  for (int harmonic = 1; harmonic <= 5; ++harmonic) {
    std::complex<double> sum = 0.0;
    for (std::size_t i = length - measured; i < length; ++i) {
      sum += static_cast<double>(output[i]) *
             std::polar(1.0, -2.0 * std::numbers::pi * harmonic * frequency * static_cast<double>(i) / rate);
    }
    levels.push_back(20.0 * std::log10(2.0 * std::abs(sum) / static_cast<double>(measured) + 1e-30));
  }
  return levels;
}

// Harmonics far below the fundamental are noise and aliasing more than tone; those within 60 dB
// of it are what the sound's character is made of.
constexpr double kAudibleBelowFundamental = 60.0;

TEST(ShippedTiming, HarmonicsAt96kHzMatchThoseAt44100) {
  const ShippedArchive archive;
  for (const std::string& name : archive.descriptionNames()) {
    for (const double frequency : {251.0, 997.0}) {
      BuiltDescription at44 = archive.build(name), at96 = archive.build(name);
      ASSERT_TRUE(at44.head && at96.head) << name;
      const std::vector<double> low = harmonicLevels(*at44.head, runRate(at44, 44100.0f), frequency);
      const std::vector<double> high = harmonicLevels(*at96.head, runRate(at96, 96000.0f), frequency);
      for (std::size_t h = 0; h < low.size(); ++h) {
        if (low[h] < low[0] - kAudibleBelowFundamental) continue;
        EXPECT_NEAR(high[h], low[h], 1.5) << name << ", harmonic " << h + 1 << " of " << frequency << " Hz";
      }
    }
  }
}

// The time lead's clean-level follower takes, after a 1 kHz tone steps from -30 to -6 dBFS,
// to cover 63 % of the way to its new level.
double followerRiseTime(float hostRate) {
  float rate = hostRate;
  const ShippedArchive archive;
  BuiltDescription built = archive.build("lead.xml");
  EXPECT_TRUE(built.head);
  AveragerAN* follower = nullptr;
  for (const auto& [node, origin] : built.report.origins) {
    if (origin.id == "lead_level_in") follower = dynamic_cast<AveragerAN*>(const_cast<AudioNode*>(node));
  }
  EXPECT_NE(follower, nullptr);
  if (!follower) return 0.0;
  rate = runRate(built, rate);
  const auto step = static_cast<std::size_t>(0.5 * rate);
  std::vector<float> input(2 * step);
  for (std::size_t i = 0; i < input.size(); ++i) {
    const float level = std::pow(10.0f, (i < step ? -30.0f : -6.0f) / 20.0f) * kPreGainFactor;
    input[i] =
        level * static_cast<float>(std::sin(2.0 * std::numbers::pi * 1000.0 * static_cast<double>(i) / rate));
  }
  std::vector<std::pair<std::size_t, float>> levels;
  GraphRun(*built.head, rate).run(input, {8}, [&](std::size_t done) {
    levels.emplace_back(done, follower->getValue(AveragerAN::kLevel));
  });
  const auto at = [&](std::size_t sample) {
    return std::find_if(levels.begin(), levels.end(),
                        [&](const auto& level) { return level.first >= sample; })
        ->second;
  };
  const float before = at(step), after = levels.back().second;
  const float target = before + 0.63f * (after - before);
  const auto crossing = std::find_if(levels.begin(), levels.end(), [&](const auto& level) {
    return level.first > step && level.second >= target;
  });
  EXPECT_NE(crossing, levels.end());
  if (crossing == levels.end()) return 0.0;
  const auto& [sample, level] = *crossing;
  const auto& [previousSample, previousLevel] = *(crossing - 1);
  const double fraction = (target - previousLevel) / (level - previousLevel);
  const double crossed =
      static_cast<double>(previousSample) + fraction * static_cast<double>(sample - previousSample);
  return (crossed - static_cast<double>(step)) / rate;
}

TEST(ShippedTiming, LeadsLevelFollowersKeepTheirTimeAt96kHz) {
  const double low = followerRiseTime(44100.0f);
  const double high = followerRiseTime(96000.0f);
  EXPECT_GT(low, 0.01);
  EXPECT_NEAR(high, low, 0.05 * low);
}

}  // namespace

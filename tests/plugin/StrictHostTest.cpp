// The built module with its shipped archive, driven by a host that does all a
// host may do and more: every parameter value, block sizes up to beyond the
// engine's buffers at every common rate, in-place processing, rate and
// block-size changes while switched on, every opcode with hostile indices,
// many instances in turn and at once. Every output sample must be finite, no
// write may leave the buffers the host gave, and nothing may crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "support/GuardedBuffer.h"

namespace {

constexpr float kRates[] = {8000.0f, 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f};

std::vector<float> guitarTone(std::size_t length, float sampleRate) {
  std::vector<float> samples(length);
  for (std::size_t i = 0; i < length; ++i) {
    const double t = double(i) / sampleRate;
    samples[i] = static_cast<float>(0.7 * std::exp(-2.0 * t) * std::sin(2 * std::numbers::pi * 110 * t));
  }
  return samples;
}

// One host block: the output written into a guarded buffer, from a separate
// guarded input or in place.
struct Block {
  GuardedBuffer samples;
  bool intact = false;
  bool finite = false;
};

Block play(HostedEffect& effect, const std::vector<float>& input, bool inPlace) {
  GuardedBuffer in(input.size());
  std::copy(input.begin(), input.end(), in.data());
  Block block{GuardedBuffer(input.size(), 7.0f)};
  float* inputs[] = {in.data()};
  float* outputs[] = {inPlace ? in.data() : block.samples.data()};
  effect.processReplacing(inputs, outputs, static_cast<VstInt32>(input.size()));
  if (inPlace) std::copy(in.data(), in.data() + in.size(), block.samples.data());
  block.intact = in.guardsIntact() && block.samples.guardsIntact();
  const float* out = block.samples.data();
  block.finite = std::all_of(out, out + block.samples.size(), [](float x) { return std::isfinite(x); });
  return block;
}

bool playsFinite(HostedEffect& effect, std::size_t length, float sampleRate) {
  const Block block = play(effect, guitarTone(length, sampleRate), false);
  return block.intact && block.finite;
}

// A scratch area for the dispatcher's pointer arguments: zeroed, with a long
// terminated text at its start, between guard zones that must stay as they
// are.
class Scratch {
 public:
  static constexpr std::size_t kSize = 4096;

  Scratch() : bytes(kGuard + kSize + kGuard, kGuardByte) {
    std::fill(data(), data() + kSize, '\0');
    std::fill(data(), data() + 300, 'x');
  }
  char* data() { return bytes.data() + kGuard; }
  bool guardsIntact() const {
    return std::all_of(bytes.begin(), bytes.begin() + kGuard, isGuard) &&
           std::all_of(bytes.end() - kGuard, bytes.end(), isGuard);
  }

 private:
  static constexpr std::size_t kGuard = 64;
  static constexpr char kGuardByte = 0x5a;
  static bool isGuard(char byte) { return byte == kGuardByte; }

  std::vector<char> bytes;
};

// Requests whose pointer argument the interface requires (a text, a
// structure or an out-pointer); all others also get a null pointer.
bool needsPointer(VstInt32 opcode) {
  switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
    case effProcessEvents:
    case effString2Parameter:
    case effGetProgramNameIndexed:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effOfflineNotify:
    case effOfflinePrepare:
    case effOfflineRun:
    case effProcessVarIo:
    case effSetSpeakerArrangement:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString:
    case effVendorSpecific:
    case effCanDo:
    case effGetParameterProperties:
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
    case effGetMidiKeyName:
    case effGetSpeakerArrangement:
    case effShellGetNextPlugin:
    case effBeginLoadBank:
    case effBeginLoadProgram:
      return true;
    default:
      return false;
  }
}

// The two requests whose value is a pointer too.
bool valueIsPointer(VstInt32 opcode) {
  return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

class StrictHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(SHIPPED_ARCHIVE_PATH)) GTEST_SKIP() << "this build packs no archive";
    callback.setDirectory(std::filesystem::path(SHIPPED_ARCHIVE_PATH).parent_path().string());
    std::string error;
    module = PluginModule::load(PLUGIN_MODULE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
  }

  std::unique_ptr<HostedEffect> instance(HostCallback& host) {
    AEffect* record = module->createEffect(host);
    return record ? std::make_unique<HostedEffect>(record) : nullptr;
  }
  std::unique_ptr<HostedEffect> instance() { return instance(callback); }

  HostCallback callback;
  std::unique_ptr<PluginModule> module;
};

TEST_F(StrictHostTest, EveryParameterTakesAnyValue) {
  auto effect = instance();
  ASSERT_NE(effect, nullptr);
  effect->start(44100.0f, 512);
  const float infinity = std::numeric_limits<float>::infinity();
  for (VstInt32 index : {-1, 0, 1, 2, 3, 4}) {
    for (float value : {0.0f, 1.0f, 0.5f, -1.0f, 2.0f, 1e30f, std::numeric_limits<float>::quiet_NaN(),
                        infinity, -infinity}) {
      effect->setParameter(index, value);
      ASSERT_TRUE(playsFinite(*effect, 512, 44100.0f)) << "parameter " << index << " at " << value;
      ASSERT_TRUE(std::isfinite(effect->getParameter(index))) << index;
    }
    if (index >= 0 && index < 3) effect->setParameter(index, 0.5f);
  }
}

// Blocks above the engine's 144100-sample buffers run in pieces; in place
// they give the same samples as into a separate output.
TEST_F(StrictHostTest, EveryBlockSizeAtEveryRateInPlaceOrNot) {
  for (float rate : kRates) {
    auto separate = instance();
    auto inPlace = instance();
    ASSERT_TRUE(separate && inPlace);
    separate->start(rate, 4096);
    inPlace->start(rate, 4096);
    for (VstInt32 size : {1, 7, 64, 512, 4096, 44100, 200000}) {
      const std::vector<float> input = guitarTone(static_cast<std::size_t>(size), rate);
      const Block apart = play(*separate, input, false);
      const Block together = play(*inPlace, input, true);
      ASSERT_TRUE(apart.intact && together.intact) << size << " at " << rate;
      ASSERT_TRUE(apart.finite) << size << " at " << rate;
      ASSERT_EQ(together.samples.samples(), apart.samples.samples()) << size << " at " << rate;
    }
  }
}

TEST_F(StrictHostTest, RateAndBlockSizeChangeWhileSwitchedOn) {
  auto effect = instance();
  ASSERT_NE(effect, nullptr);
  effect->start(44100.0f, 512);
  const VstInt32 sizes[] = {64, 4096, 1, 512, 7, 2048};
  for (int change = 0; change < 24; ++change) {
    const float rate = kRates[change % std::size(kRates)];
    const VstInt32 size = sizes[change % std::size(sizes)];
    if (change % 3 == 2) {
      effect->dispatch(effSetBlockSizeAndSampleRate, 0, size, nullptr, rate);
    } else {
      effect->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
      effect->dispatch(effSetBlockSize, 0, size);
    }
    if (change % 4 == 3) effect->setParameter(3, static_cast<float>(change % 6));
    ASSERT_TRUE(playsFinite(*effect, static_cast<std::size_t>(size), rate)) << "change " << change;
  }
}

// Opcode 1 (effClose) ends the instance and is sent last; the editor is
// opened without a parent window, as a host without a display would.
TEST_F(StrictHostTest, EveryOpcodeWithHostileArguments) {
  auto effect = instance();
  ASSERT_NE(effect, nullptr);
  effect->start(44100.0f, 512);
  for (VstInt32 opcode = 0; opcode <= 100; ++opcode) {
    if (opcode == effClose) continue;
    for (VstInt32 number : {-1, 0, 1000}) {
      for (bool withPointer : {true, false}) {
        if (opcode == effEditOpen ? withPointer : !withPointer && needsPointer(opcode)) continue;
        Scratch scratch;
        Scratch valueScratch;
        const VstIntPtr value =
            valueIsPointer(opcode) ? reinterpret_cast<VstIntPtr>(valueScratch.data()) : number;
        effect->dispatch(opcode, number, value, withPointer ? scratch.data() : nullptr,
                         static_cast<float>(number));
        ASSERT_TRUE(scratch.guardsIntact() && valueScratch.guardsIntact())
            << "opcode " << opcode << " " << number;
        ASSERT_TRUE(playsFinite(*effect, 512, 44100.0f)) << "after opcode " << opcode << " " << number;
      }
    }
  }
  // Rates such as 1000 Hz make no sense to the filters, whose output is then
  // silenced; a sane rate brings the sound back.
  effect->start(44100.0f, 512);
  const Block block = play(*effect, guitarTone(4096, 44100.0f), false);
  const float* out = block.samples.data();
  EXPECT_TRUE(std::any_of(out, out + block.samples.size(), [](float x) { return x != 0.0f; }));
  effect->close();
}

TEST_F(StrictHostTest, HundredInstancesInTurn) {
  for (int turn = 0; turn < 100; ++turn) {
    auto effect = instance();
    ASSERT_NE(effect, nullptr) << turn;
    effect->start(44100.0f, 256);
    effect->setParameter(3, static_cast<float>(turn % 6));
    ASSERT_TRUE(playsFinite(*effect, 256, 44100.0f)) << turn;
  }
}

TEST_F(StrictHostTest, EightInstancesAtOnce) {
  std::atomic<int> faults{0};
  std::vector<std::thread> hosts;
  for (int host = 0; host < 8; ++host) {
    hosts.emplace_back([&, host] {
      HostCallback own;
      own.setDirectory(std::filesystem::path(SHIPPED_ARCHIVE_PATH).parent_path().string());
      auto effect = instance(own);
      if (!effect) {
        ++faults;
        return;
      }
      effect->start(kRates[host % std::size(kRates)], 512);
      for (int block = 0; block < 12; ++block) {
        effect->setParameter(block % 4,
                             block % 4 == 3 ? static_cast<float>((host + block) % 6) : 0.1f * block);
        if (!playsFinite(*effect, 512, 44100.0f)) ++faults;
      }
    });
  }
  for (std::thread& host : hosts) host.join();
  EXPECT_EQ(faults.load(), 0);
}

// A NaN or infinity from upstream, or an absurd sample that overflows inside,
// costs its own block and nothing after it, in every shipped description:
// the next blocks come out as from a fresh instance.
TEST_F(StrictHostTest, ABadSampleCostsOnlyItsBlock) {
  const float infinity = std::numeric_limits<float>::infinity();
  for (int description = 0; description < 6; ++description) {
    const float upstream = description % 2 ? infinity : -infinity;
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), upstream, 3e38f}) {
      auto faulted = instance();
      auto fresh = instance();
      ASSERT_TRUE(faulted && fresh);
      for (HostedEffect* effect : {faulted.get(), fresh.get()}) {
        effect->start(44100.0f, 512);
        effect->setParameter(3, static_cast<float>(description));
      }
      play(*faulted, guitarTone(4096, 44100.0f), false);
      std::vector<float> faulty = guitarTone(512, 44100.0f);
      faulty[200] = bad;
      const Block silenced = play(*faulted, faulty, false);
      ASSERT_EQ(silenced.samples.samples(), std::vector<float>(512, 0.0f)) << description << " " << bad;
      const std::vector<float> later = guitarTone(8192, 44100.0f);
      ASSERT_EQ(play(*faulted, later, false).samples.samples(), play(*fresh, later, false).samples.samples())
          << "description " << description << ", " << bad;
    }
  }
}

}  // namespace

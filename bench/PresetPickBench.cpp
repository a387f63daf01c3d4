// The longest audio call while another thread picks sounds. The plug-in, loaded as a binary
// as a host loads it, plays 64-sample blocks at the pace of 44.1 kHz on its audio thread,
// while a second thread picks a 20,000-node description and a small one in turn, 50 ms
// apart. The archive is packed by the benchmark with torvix-pack's own code, which checks the
// sources as strictly as the build does. Three settings: the audio thread alone on its core
// and the picks on the other (an idle core); both on one core, with the other core kept busy
// (the build competes for the audio thread's core); and no picks at all, the cost of the
// large graph itself. The audio thread runs at a real-time priority where the system allows,
// as hosts run theirs. TORVIX_BENCH_MODULE names another build of the module to measure (an
// older one, say).
#include <benchmark/benchmark.h>
#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"
#include "pack/ArchiveSources.h"
#include "pack/ArchiveWriter.h"
#include "pack/DescriptionCheck.h"
#include "pack/PackError.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr VstInt32 kPreset = 3;
constexpr VstInt32 kBlock = 64;
constexpr double kRate = 44100.0;
constexpr int kLargeNodes = 20000;
// Large, small, large ...: each large one built and later destroyed; at least this many, for
// at least kSeconds.
constexpr int kPicks = 6;
constexpr double kSeconds = 3.0;
// Between one pick's end and the next, as a hand on a preset menu leaves.
constexpr double kPickInterval = 0.05;

enum class Setting { kIdleCore, kSharedCore, kNoPicks };

double now() {
  timespec time{};
  clock_gettime(CLOCK_MONOTONIC, &time);
  return static_cast<double>(time.tv_sec) + 1e-9 * static_cast<double>(time.tv_nsec);
}

void sleepUntil(double deadline) {
  const timespec until{
      static_cast<time_t>(deadline),
      static_cast<long>((deadline - static_cast<double>(static_cast<time_t>(deadline))) * 1e9)};
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
}

// Keeps the calling thread on one processor while it lives (where the system allows).
class Pinned {
 public:
  explicit Pinned(int cpu) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    pthread_getaffinity_np(pthread_self(), sizeof before, &before);
    pinned = pthread_setaffinity_np(pthread_self(), sizeof set, &set) == 0;
  }
  ~Pinned() { pthread_setaffinity_np(pthread_self(), sizeof before, &before); }
  Pinned(const Pinned&) = delete;
  Pinned& operator=(const Pinned&) = delete;

  bool pinned = false;

 private:
  cpu_set_t before{};
};

// Runs the calling thread at a real-time priority while it lives, as hosts run their audio
// threads (where the system allows), so that other programs on a shared machine do not
// stand in for waits of the plug-in's own.
class RealTimePriority {
 public:
  RealTimePriority() {
    pthread_getschedparam(pthread_self(), &policy, &before);
    sched_param realTime{};
    realTime.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
    raised = pthread_setschedparam(pthread_self(), SCHED_FIFO, &realTime) == 0;
  }
  ~RealTimePriority() { pthread_setschedparam(pthread_self(), policy, &before); }
  RealTimePriority(const RealTimePriority&) = delete;
  RealTimePriority& operator=(const RealTimePriority&) = delete;

  bool raised = false;

 private:
  int policy = SCHED_OTHER;
  sched_param before{};
};

// A chain of inverters sharing one id and its preset, and a single one; packed from a folder
// of sources as torvix-pack packs data/, refusing any warning as --strict does.
void packArchive(const TemporaryDirectory& directory) {
  const std::filesystem::path sources = directory / "sources";
  std::filesystem::create_directory(sources);
  std::string large = "<torvix>\n";
  for (int node = 0; node < kLargeNodes; ++node) large += "  <fx id=\"flip\" type=\"inv\"/>\n";
  std::ofstream(sources / "large.xml") << large << "</torvix>\n";
  std::ofstream(sources / "small.xml") << "<torvix>\n  <fx id=\"flip\" type=\"inv\"/>\n</torvix>\n";
  std::ofstream(sources / "flip.preset") << "processor inv\n0 = 0\n";
  const std::vector<ArchiveEntry> entries = collectArchiveSources(sources);
  const PackWarnings warnings = checkDescriptions(entries);
  if (!warnings.empty()) throw PackError("torvix-pack warns: " + warnings.all().front().text());
  writeArchive(directory / "a.zip", entries);
}

std::string modulePath() {
  const char* other = std::getenv("TORVIX_BENCH_MODULE");
  return other && *other ? other : TORVIX_MODULE_PATH;
}

// Plays blocks at the pace of the sample rate until told to stop; the longest call, in
// seconds of the wall clock, which is what a host's deadline counts.
class PacedPlayer {
 public:
  explicit PacedPlayer(HostedEffect& effect) : effect(effect), input(kBlock), output(kBlock) {
    for (int i = 0; i < kBlock; ++i)
      input[static_cast<std::size_t>(i)] = 0.25f * static_cast<float>(i % 7 - 3);
  }

  void playUntil(const std::atomic<bool>& done) {
    float* inputs[] = {input.data()};
    float* outputs[] = {output.data()};
    double deadline = now();
    while (!done.load()) {
      const double start = now();
      effect.processReplacing(inputs, outputs, kBlock);
      const double call = now() - start;
      longest = std::max(longest, call);
      if (call > kBlock / kRate) ++late;
      ++blocks;
      deadline = std::max(deadline + kBlock / kRate, now() - kBlock / kRate);
      sleepUntil(deadline);
    }
  }

  HostedEffect& effect;
  std::vector<float> input, output;
  double longest = 0.0;
  long blocks = 0;
  long late = 0;
};

void presetPicks(benchmark::State& state, Setting setting) {
  TemporaryDirectory directory;
  try {
    packArchive(directory);
  } catch (const PackError& error) {
    return state.SkipWithError(error.what());
  }
  HostCallback callback;
  callback.setDirectory(directory.path().string() + "/");
  std::string error;
  const std::unique_ptr<PluginModule> module = PluginModule::load(modulePath(), error);
  AEffect* record = module ? module->createEffect(callback) : nullptr;
  if (!record) return state.SkipWithError(("the plug-in module could not be loaded: " + error).c_str());
  HostedEffect effect(record);
  effect.start(static_cast<float>(kRate), kBlock);
  if (setting == Setting::kNoPicks) effect.setParameter(kPreset, 0.0f);
  const Pinned audioCore(0);
  bool realTime = false;
  for (auto _ : state) {
    PacedPlayer player(effect);
    std::atomic<bool> done{false};
    int picks = 0;
    std::thread picker([&] {
      const Pinned pickCore(setting == Setting::kSharedCore ? 0 : 1);
      const double end = now() + kSeconds;
      if (setting == Setting::kNoPicks) {
        sleepUntil(end);
      } else {
        for (; picks < kPicks || now() < end; ++picks) {
          effect.setParameter(kPreset, static_cast<float>(picks % 2));
          sleepUntil(now() + kPickInterval);
        }
      }
      done.store(true);
    });
    std::thread loader([&] {
      const Pinned otherCore(1);
      while (setting == Setting::kSharedCore && !done.load()) benchmark::ClobberMemory();
    });
    // Raised once the other threads exist, so that they keep the normal priority.
    const RealTimePriority priority;
    realTime = priority.raised;
    const double start = now();
    player.playUntil(done);
    const double span = now() - start;
    picker.join();
    loader.join();
    state.SetIterationTime(span);
    state.counters["longest_call_ms"] = 1e3 * player.longest;
    state.counters["late_calls"] = static_cast<double>(player.late);
    state.counters["blocks"] = static_cast<double>(player.blocks);
    state.counters["picks"] = static_cast<double>(picks);
  }
  state.SetLabel(std::to_string(kLargeNodes) + " nodes" + (audioCore.pinned ? "" : ", threads not pinned") +
                 (realTime ? "" : ", audio thread at normal priority"));
}

BENCHMARK_CAPTURE(presetPicks, idleCore, Setting::kIdleCore)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(presetPicks, sharedCore, Setting::kSharedCore)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(presetPicks, noPicks, Setting::kNoPicks)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

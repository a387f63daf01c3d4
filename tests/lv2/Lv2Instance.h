// One instance of the LV2 plug-in, driven through lilv as a host drives it.
#pragma once

#include <lilv/lilv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "Lv2TestHost.h"
#include "SavedState.h"
#include "TestWorker.h"

struct Lv2Setup {
  double sampleRate = 44100.0;
  std::int32_t maxBlockLength = 512;
  bool worker = true;
  bool log = true;
  // A feature without URI in the list, as lv2file 0.95 passes one.
  bool unnamedFeature = false;
};

// The ports' numbers as the Turtle gives them.
enum Lv2Port : std::uint32_t { kPreGainPort, kPostGainPort, kPreBassPort, kPresetPort, kInPort, kOutPort };

class Lv2Instance {
 public:
  Lv2Instance(Lv2TestHost& host, const Lv2Setup& setup = {});
  ~Lv2Instance();
  Lv2Instance(const Lv2Instance&) = delete;
  Lv2Instance& operator=(const Lv2Instance&) = delete;

  bool valid() const { return instance != nullptr; }
  // A control port's value, read by the plug-in at its next block.
  void set(Lv2Port port, float value) { controls[port] = value; }
  void activate();

  // audio: one block from in to out (which may be the same buffer), then
  // the worker's answers handed to the plug-in, as hosts do after run().
  void run(const float* in, float* out, std::uint32_t length);
  // The input played in blocks of the given sizes, in turn, between guard
  // zones; fails the calling test when the plug-in writes outside a block.
  std::vector<float> render(const std::vector<float>& input, const std::vector<int>& blockSizes);

  // Null without a worker.
  TestWorker* worker() { return testWorker.get(); }

  LV2_State_Status save(SavedState& state);
  LV2_State_Status restore(SavedState& state);

 private:
  const LV2_State_Interface* stateInterface() const;

  std::unique_ptr<TestWorker> testWorker;
  std::array<float, 4> controls = {0.5f, 0.5f, 0.5f, 0.0f};
  LilvInstance* instance = nullptr;
  bool active = false;
  LV2_Feature unnamed = {nullptr, nullptr};
};

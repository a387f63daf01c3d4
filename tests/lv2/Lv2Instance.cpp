#include "Lv2Instance.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/GuardedBuffer.h"

Lv2Instance::Lv2Instance(Lv2TestHost& host, const Lv2Setup& setup) {
  if (setup.worker) testWorker = std::make_unique<TestWorker>();
  std::vector<const LV2_Feature*> features = {host.mapFeature(), host.optionsFeature(setup.maxBlockLength)};
  if (setup.log) features.push_back(host.logFeature());
  if (setup.unnamedFeature) features.push_back(&unnamed);
  if (testWorker) features.push_back(testWorker->feature());
  features.push_back(nullptr);
  if (!host.plugin()) return;
  instance = lilv_plugin_instantiate(host.plugin(), setup.sampleRate, features.data());
  if (!instance) return;
  if (testWorker) testWorker->attach(instance);
  for (std::uint32_t port = kPreGainPort; port <= kPresetPort; ++port) {
    lilv_instance_connect_port(instance, port, &controls[port]);
  }
}

Lv2Instance::~Lv2Instance() {
  testWorker.reset();
  if (!instance) return;
  if (active) lilv_instance_deactivate(instance);
  lilv_instance_free(instance);
}

void Lv2Instance::activate() {
  lilv_instance_activate(instance);
  active = true;
}

void Lv2Instance::run(const float* in, float* out, std::uint32_t length) {
  lilv_instance_connect_port(instance, kInPort, const_cast<float*>(in));
  lilv_instance_connect_port(instance, kOutPort, out);
  lilv_instance_run(instance, length);
  if (testWorker) testWorker->deliverResponses();
}

std::vector<float> Lv2Instance::render(const std::vector<float>& input, const std::vector<int>& blockSizes) {
  GuardedBuffer in(input.size());
  std::copy(input.begin(), input.end(), in.data());
  GuardedBuffer out(input.size(), 7.0f);
  std::size_t done = 0;
  for (std::size_t block = 0; done < input.size(); ++block) {
    const std::size_t size =
        std::min<std::size_t>(blockSizes[block % blockSizes.size()], input.size() - done);
    run(in.data() + done, out.data() + done, static_cast<std::uint32_t>(size));
    done += size;
  }
  EXPECT_TRUE(in.guardsIntact());
  EXPECT_TRUE(out.guardsIntact());
  return out.samples();
}

const LV2_State_Interface* Lv2Instance::stateInterface() const {
  return static_cast<const LV2_State_Interface*>(
      lilv_instance_get_extension_data(instance, LV2_STATE__interface));
}

LV2_State_Status Lv2Instance::save(SavedState& state) {
  return stateInterface()->save(lilv_instance_get_handle(instance), &SavedState::store, &state, 0, nullptr);
}

LV2_State_Status Lv2Instance::restore(SavedState& state) {
  return stateInterface()->restore(lilv_instance_get_handle(instance), &SavedState::retrieve, &state, 0,
                                   nullptr);
}

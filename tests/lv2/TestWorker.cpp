#include "TestWorker.h"

#include <chrono>
#include <cstring>

bool TestWorker::Ring::push(std::uint32_t size, const void* data) {
  const std::size_t at = written.load();
  if (size > sizeof(Slot::bytes) || at - read.load() == slots.size()) return false;
  Slot& slot = slots[at % slots.size()];
  slot.size = size;
  std::memcpy(slot.bytes.data(), data, size);
  written.store(at + 1);
  return true;
}

bool TestWorker::Ring::pop(Slot& slot) {
  const std::size_t at = read.load();
  if (at == written.load()) return false;
  slot = slots[at % slots.size()];
  read.store(at + 1);
  return true;
}

TestWorker::TestWorker()
    : scheduleData{this, &TestWorker::schedule}, scheduleFeature{LV2_WORKER__schedule, &scheduleData} {}

TestWorker::~TestWorker() {
  stopping = true;
  if (thread.joinable()) thread.join();
}

void TestWorker::attach(LilvInstance* attached) {
  instance = attached;
  worker = static_cast<const LV2_Worker_Interface*>(
      lilv_instance_get_extension_data(instance, LV2_WORKER__interface));
}

void TestWorker::start() {
  thread = std::thread([this] {
    while (!stopping) {
      runPending();
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
}

void TestWorker::runPending() {
  Slot slot;
  while (toWorker.pop(slot)) {
    worker->work(lilv_instance_get_handle(instance), &TestWorker::respond, this, slot.size,
                 slot.bytes.data());
  }
}

void TestWorker::deliverResponses() {
  Slot slot;
  while (toAudio.pop(slot))
    worker->work_response(lilv_instance_get_handle(instance), slot.size, slot.bytes.data());
}

std::size_t TestWorker::pendingRequests() const { return toWorker.size(); }

LV2_Worker_Status TestWorker::schedule(LV2_Worker_Schedule_Handle handle, std::uint32_t size,
                                       const void* data) {
  auto* self = static_cast<TestWorker*>(handle);
  if (!self->toWorker.push(size, data)) return LV2_WORKER_ERR_NO_SPACE;
  ++self->requests;
  return LV2_WORKER_SUCCESS;
}

LV2_Worker_Status TestWorker::respond(LV2_Worker_Respond_Handle handle, std::uint32_t size,
                                      const void* data) {
  auto* self = static_cast<TestWorker*>(handle);
  return self->toAudio.push(size, data) ? LV2_WORKER_SUCCESS : LV2_WORKER_ERR_NO_SPACE;
}

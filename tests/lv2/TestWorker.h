// The host's side of the LV2 worker, for tests: requests and answers pass
// through fixed rings, so the audio thread's side allocates nothing.
#pragma once

#include <lilv/lilv.h>
#include <lv2/worker/worker.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

// Either the test calls runPending() itself (the worker then runs on the
// test's thread), or start() runs it on a thread of its own until
// destruction. deliverResponses() is the audio thread's part, after run().
class TestWorker {
 public:
  TestWorker();
  ~TestWorker();
  TestWorker(const TestWorker&) = delete;
  TestWorker& operator=(const TestWorker&) = delete;

  const LV2_Feature* feature() const { return &scheduleFeature; }
  // The instance whose worker interface serves the requests.
  void attach(LilvInstance* instance);

  void start();
  void runPending();
  void deliverResponses();
  // Requests not yet taken by the worker.
  std::size_t pendingRequests() const;
  // Every request made so far.
  std::size_t requestCount() const { return requests.load(); }

 private:
  struct Slot {
    std::uint32_t size = 0;
    std::array<unsigned char, 64> bytes{};
  };
  // One writer, one reader, no allocation.
  class Ring {
   public:
    bool push(std::uint32_t size, const void* data);
    bool pop(Slot& slot);
    std::size_t size() const { return written.load() - read.load(); }

   private:
    std::array<Slot, 64> slots;
    std::atomic<std::size_t> written{0};
    std::atomic<std::size_t> read{0};
  };

  static LV2_Worker_Status schedule(LV2_Worker_Schedule_Handle handle, std::uint32_t size, const void* data);
  static LV2_Worker_Status respond(LV2_Worker_Respond_Handle handle, std::uint32_t size, const void* data);

  Ring toWorker;
  Ring toAudio;
  std::atomic<std::size_t> requests{0};
  LV2_Worker_Schedule scheduleData;
  LV2_Feature scheduleFeature;
  LilvInstance* instance = nullptr;
  const LV2_Worker_Interface* worker = nullptr;
  std::atomic<bool> stopping{false};
  std::thread thread;
};

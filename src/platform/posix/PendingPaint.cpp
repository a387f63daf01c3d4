#include "platform/PendingPaint.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {
namespace {

struct PaintSource {
  void* context;
  PaintSourceFunction serveOnePaint;
  std::thread::id owner;
};

// Every GUI thread's windows in one list, each with the thread that registered it, rather
// than a thread-local list: a module that holds thread-local storage leaves it behind in the
// threads that touched it when the host unloads the module.
struct PaintSources {
  std::mutex lock;
  std::vector<PaintSource> sources;
};

PaintSources& paintSources() {
  static PaintSources registry;
  return registry;
}

// The calling thread's sources, taken under the lock so that a source may register or
// unregister windows while it serves.
std::vector<PaintSource> sourcesOfThisThread() {
  PaintSources& registry = paintSources();
  const std::lock_guard<std::mutex> guard(registry.lock);
  std::vector<PaintSource> own;
  for (const PaintSource& source : registry.sources)
    if (source.owner == std::this_thread::get_id()) own.push_back(source);
  return own;
}

}  // namespace

void dispatchPendingPaint() {
  for (const PaintSource& source : sourcesOfThisThread()) {
    if (source.serveOnePaint(source.context)) return;
  }
}

void registerPaintSource(void* context, PaintSourceFunction serveOnePaint) {
  unregisterPaintSource(context);
  PaintSources& registry = paintSources();
  const std::lock_guard<std::mutex> guard(registry.lock);
  registry.sources.push_back({context, serveOnePaint, std::this_thread::get_id()});
}

void unregisterPaintSource(void* context) {
  PaintSources& registry = paintSources();
  const std::lock_guard<std::mutex> guard(registry.lock);
  std::erase_if(registry.sources, [context](const PaintSource& source) { return source.context == context; });
}

}  // namespace platform

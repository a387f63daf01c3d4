#include "platform/PendingPaint.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

struct PaintSource {
  void* context;
  PaintSourceFunction serveOnePaint;
};

// The GUI thread's windows; only that thread touches its list.
thread_local std::vector<PaintSource> paintSources;

}  // namespace

void dispatchPendingPaint() {
  for (const PaintSource& source : paintSources) {
    if (source.serveOnePaint(source.context)) return;
  }
}

void registerPaintSource(void* context, PaintSourceFunction serveOnePaint) {
  unregisterPaintSource(context);
  paintSources.push_back({context, serveOnePaint});
}

void unregisterPaintSource(void* context) {
  std::erase_if(paintSources, [context](const PaintSource& source) { return source.context == context; });
}

}  // namespace platform

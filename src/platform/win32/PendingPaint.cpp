#include "platform/PendingPaint.h"

#include <windows.h>

namespace platform {

void dispatchPendingPaint() {
  MSG message;
  if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
}

void registerPaintSource(void*, PaintSourceFunction) {}
void unregisterPaintSource(void*) {}

}  // namespace platform

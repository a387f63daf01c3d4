// The pending-paint pump of the GUI thread: the idle step of the GUI editor
// serves one waiting paint request per pass while a control keeps the thread
// busy (a slider drag).
#pragma once

namespace platform {

// Removes one pending paint request of the calling thread, if there is one,
// and dispatches it. On Windows this is the thread's WM_PAINT message; on
// other systems the windows that registered a paint source below are asked in
// turn until one of them served a request.
void dispatchPendingPaint();

// A window system without a per-thread message queue (X11) registers one
// source per window. The function serves at most one paint request of its
// window and answers whether it did. Both calls are for the GUI thread only;
// on Windows they do nothing, as the system queue already holds the paints.
using PaintSourceFunction = bool (*)(void* context);
void registerPaintSource(void* context, PaintSourceFunction serveOnePaint);
void unregisterPaintSource(void* context);

}  // namespace platform

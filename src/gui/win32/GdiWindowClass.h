// The window class of the frames' child windows.
#pragma once

#include <windows.h>

// Registered under "Plugin%p" with this module's instance handle (a global
// class, arrow cursor, button-face background) while at least one window
// uses it: acquire before creating a window, release after destroying it.
// Unregistering with the last window matters for a DLL, whose classes would
// otherwise outlive its code. GUI thread only.
namespace gdiWindowClass {

// The class name, or nullptr when it could not be registered.
const char* acquire(WNDPROC procedure);
void release();

}  // namespace gdiWindowClass

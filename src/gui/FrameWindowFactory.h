// How a frame gets its window.
#pragma once

#include <memory>

#include "gui/CRect.h"
#include "gui/FrameWindow.h"

class CFrame;

// Makes the window of a frame of that size inside the host's window (an
// X11 window id on Linux, an HWND on Windows), or a headless window when
// parentWindow is nullptr.
using FrameWindowFactory = std::unique_ptr<FrameWindow> (*)(CFrame& frame, void* parentWindow,
                                                            const CRect& size);

// The backend's factory for this system.
std::unique_ptr<FrameWindow> createSystemFrameWindow(CFrame& frame, void* parentWindow, const CRect& size);

// The factory that frames use from now on (nullptr restores the system's);
// returns the previous one. Tests install scripted windows this way.
FrameWindowFactory setFrameWindowFactory(FrameWindowFactory factory);
FrameWindowFactory getFrameWindowFactory();

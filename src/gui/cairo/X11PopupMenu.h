// An option menu's popup as an override-redirect X11 window drawn by the
// toolkit.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

struct PopupMenuRequest;

// Runs the popup until an item is chosen by a click (or Return), or the
// popup is dismissed by Escape or a click outside it: the chosen index, or
// -1. Events of other windows that arrive meanwhile are put back in the
// queue for the frame.
std::int32_t runX11PopupMenu(Display* display, const PopupMenuRequest& request);

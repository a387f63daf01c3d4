// An option menu's popup as a Win32 popup menu.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gui/PopupMenuRequest.h"

// One item per entry, in order: separators, disabled titles and greyed
// entries as the request marks them. Item i has the command id i + 1, as
// 0 is the tracking's answer for "nothing chosen". The caller destroys it.
HMENU buildGdiPopupMenu(const PopupMenuRequest& request);

// Tracks the popup for the owner window (with the secondary button when the
// request says so) until it closes; the chosen item's index, or -1.
std::int32_t trackGdiPopupMenu(HWND owner, const PopupMenuRequest& request);

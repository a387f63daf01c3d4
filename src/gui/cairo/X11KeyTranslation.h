// X11 key events as the plug-in interface's key codes.
#pragma once

#include <X11/Xlib.h>

#include "frame/VstInterface.h"

// The key code of the event: the virtual key for keys that have one (arrows,
// tab, function keys ...), else the character, and the modifier bits.
VstKeyCode translateKey(XKeyEvent& event);

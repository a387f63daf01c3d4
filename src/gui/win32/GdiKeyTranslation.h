// Win32 key messages as the plug-in interface's key codes.
#pragma once

#include <windows.h>

#include "frame/VstInterface.h"

// The key code of a WM_KEYDOWN or WM_KEYUP with that virtual key: the
// interface's virtual key for keys that have one (arrows, tab, function
// keys ...), else the character in lower case; modifiers from the key state
// now.
VstKeyCode translateKey(WPARAM virtualKey);

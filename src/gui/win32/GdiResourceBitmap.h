// Reading a module's BITMAP resources into pixels.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gui/BmpImage.h"

// The BITMAP resource of that id in that module, loaded by the system
// (LoadImage) and read back as 32-bit rows from the top. Any depth the
// system reads is accepted. False, image left empty, when there is no such
// resource or it cannot be read. Works without a display.
bool loadResourceBitmap(HINSTANCE module, std::int32_t id, BmpImage& image);

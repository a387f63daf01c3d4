// The skin bitmaps the plug-in module carries, found by resource id.
#pragma once

#include <cstdint>

#include "gui/BmpImage.h"

// On Windows the BITMAP resource of that id of the module holding this code
// (so replacing the resource changes the skin); elsewhere the bitmap of the
// table compiled in (BitmapResources.h). False, image left empty, when the
// module has no such bitmap or it cannot be read.
bool loadModuleBitmap(std::int32_t id, BmpImage& image);

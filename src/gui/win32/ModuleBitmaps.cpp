#include "gui/ModuleBitmaps.h"

#include "gui/win32/GdiResourceBitmap.h"
#include "platform/win32/ModuleInstance.h"

bool loadModuleBitmap(std::int32_t id, BmpImage& image) {
  return loadResourceBitmap(platform::moduleInstance(), id, image);
}

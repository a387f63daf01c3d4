#include "gui/ModuleBitmaps.h"

#include "gui/BitmapResources.h"

bool loadModuleBitmap(std::int32_t id, BmpImage& image) {
  image = BmpImage{};
  const BitmapResource* resource = findBitmapResource(id);
  return resource && decodeBmp(resource->data, resource->size, image);
}

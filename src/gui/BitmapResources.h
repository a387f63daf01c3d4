// The bitmaps compiled into the module, found by resource id: the skin's
// source outside Windows, where modules have no resources.
#pragma once

#include <cstddef>
#include <cstdint>

struct BitmapResource {
  std::int32_t id;
  const unsigned char* data;  // the whole BMP file
  std::size_t size;
};

// The bitmap of that id, or nullptr when the module has none.
const BitmapResource* findBitmapResource(std::int32_t id);

// Decoding of uncompressed BMP files (the skin's format) into pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels row by row from the top, each 0xAARRGGBB with alpha 255.
struct BmpImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;
};

// Reads a BMP file with 8 (palette), 24 or 32 bits per pixel and no
// compression, stored bottom-up or top-down. Refuses (false, image left
// empty) anything else and any file whose sizes do not fit its bytes.
bool decodeBmp(const unsigned char* data, std::size_t size, BmpImage& image);

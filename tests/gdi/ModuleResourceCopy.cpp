#include "ModuleResourceCopy.h"

#include <windows.h>

#include <algorithm>

namespace {

void appendLittle(std::vector<unsigned char>& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

BOOL CALLBACK keepFirstLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR result) {
  *reinterpret_cast<WORD*>(result) = language;
  return FALSE;
}

// The language of the module's BITMAP resource of that id, neutral when it
// has none.
WORD resourceLanguage(HMODULE module, int id) {
  WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
  EnumResourceLanguagesA(module, RT_BITMAP, MAKEINTRESOURCEA(id), keepFirstLanguage,
                         reinterpret_cast<LONG_PTR>(&language));
  return language;
}

}  // namespace

std::vector<unsigned char> packedBitmap(std::int32_t width, std::int32_t height, int bitsPerPixel,
                                        const std::vector<std::uint32_t>& pixels) {
  std::vector<std::uint32_t> palette;
  if (bitsPerPixel == 8) {
    for (std::uint32_t pixel : pixels)
      if (std::find(palette.begin(), palette.end(), pixel) == palette.end()) palette.push_back(pixel);
  }
  std::vector<unsigned char> bytes;
  appendLittle(bytes, 40, 4);
  appendLittle(bytes, static_cast<std::uint32_t>(width), 4);
  appendLittle(bytes, static_cast<std::uint32_t>(height), 4);
  appendLittle(bytes, 1, 2);
  appendLittle(bytes, static_cast<std::uint32_t>(bitsPerPixel), 2);
  for (int field = 0; field < 4; ++field) appendLittle(bytes, 0, 4);  // BI_RGB, size, resolution
  appendLittle(bytes, static_cast<std::uint32_t>(palette.size()), 4);
  appendLittle(bytes, 0, 4);
  for (std::uint32_t colour : palette) appendLittle(bytes, colour, 4);
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
  for (std::int32_t row = height - 1; row >= 0; --row) {
    const std::size_t start = bytes.size();
    for (std::int32_t x = 0; x < width; ++x) {
      std::uint32_t pixel = pixels[static_cast<std::size_t>(row) * width + x];
      if (bitsPerPixel == 8)
        bytes.push_back(
            static_cast<unsigned char>(std::find(palette.begin(), palette.end(), pixel) - palette.begin()));
      else
        appendLittle(bytes, pixel, bitsPerPixel / 8);
    }
    bytes.resize(start + rowBytes, 0);
  }
  return bytes;
}

bool copyModuleWithBitmaps(const std::string& source, const std::string& target,
                           const std::map<int, std::vector<unsigned char>>& bitmaps) {
  HMODULE original = LoadLibraryExA(source.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!original) return false;
  std::map<int, WORD> languages;
  for (const auto& [id, bitmap] : bitmaps) languages[id] = resourceLanguage(original, id);
  FreeLibrary(original);
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) return false;
  HANDLE update = BeginUpdateResourceA(target.c_str(), FALSE);
  if (!update) return false;
  bool updated = true;
  for (const auto& [id, bitmap] : bitmaps) {
    std::vector<unsigned char> data = bitmap;
    updated = updated && UpdateResourceA(update, RT_BITMAP, MAKEINTRESOURCEA(id), languages[id], data.data(),
                                         static_cast<DWORD>(data.size()));
  }
  return EndUpdateResourceA(update, !updated) && updated;
}

// A 32-bit device-independent bitmap whose pixels the program can reach.
#pragma once

#include <windows.h>

#include <cstdint>

// Rows from the top, each pixel 0x00RRGGBB. Works without a display, as
// it depends on no device's format. nullptr (and pixels nullptr) on failure.
HBITMAP createDibSection(std::int32_t width, std::int32_t height, std::uint32_t** pixels);

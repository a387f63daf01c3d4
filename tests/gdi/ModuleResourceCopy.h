// Copies of a built module whose BITMAP resources a test replaces, to show
// that what the module draws comes from its resources.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A BITMAP resource's bytes (a packed device-independent bitmap, rows from
// the bottom) holding pixels given as 0xRRGGBB rows from the top: 24 or 32
// bits per pixel, or 8 with a palette of the colours in order of first use
// (at most 256 colours).
std::vector<unsigned char> packedBitmap(std::int32_t width, std::int32_t height, int bitsPerPixel,
                                        const std::vector<std::uint32_t>& pixels);

// Copies the module file to target and sets the given BITMAP resources (id
// to packed bitmap), each replacing the module's own of that id. False when
// the copy or an update fails.
bool copyModuleWithBitmaps(const std::string& source, const std::string& target,
                           const std::map<int, std::vector<unsigned char>>& bitmaps);

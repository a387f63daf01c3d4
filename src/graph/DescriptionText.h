// How attribute and element texts of a graph description are read.
#pragma once

#include <string>

#include "frame/VstInterface.h"

// Compares two texts, letters A to Z matching their lower-case forms.
bool equalsIgnoringCase(const char* text, const char* other);

// Reads an integer the way the C library's decimal conversion does: leading white space,
// an optional sign, digits; text without leading digits reads as 0. Values beyond the
// 32-bit range are held at its ends.
VstInt32 readInteger(const char* text);

// Reads a floating-point number in the same manner; text without a leading number reads
// as 0, and magnitudes beyond the float range become infinite.
float readFloat(const char* text);

// A number as messages about a description write it ("%g": 256, 0.5, 1e+09).
std::string numberText(float value);

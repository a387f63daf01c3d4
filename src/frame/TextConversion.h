// The effect base's number-to-text conversions, free of any effect state.
#pragma once

#include "frame/VstInterface.h"

// Copies at most maxLen characters of source and terminates the text.
void copyLimited(char* text, const char* source, VstInt32 maxLen);

// A float in at most 8 characters (minus sign and point included), the
// fraction filling what the integer part leaves: 1.5 gives "1.500000".
// Magnitudes beyond the 8 characters give "Huge!".
void formatFloat(float value, char* text, VstInt32 maxLen);

// Decimal digits without leading zeros ("-" first for a negative value);
// 0 gives an empty text, magnitudes of 100000000 or more "Huge!".
void formatInt(VstInt32 value, char* text, VstInt32 maxLen);

// The picture of a character sheet.
#pragma once

#include <string>

#include "render/CharacterSheet.h"

// Writes a PNG with four panels: the frequency response, the harmonic
// spectrum with its distortion, the transfer curve and the level over time of
// a plucked note. The file appears only when complete. Throws RenderError
// when it cannot be written.
void writeCharacterSheet(const std::string& path, const CharacterSheet& sheet);

// File names of the demo's renders.
#pragma once

#include <string>

// "03-crunch" for description 3 named "crunch.xml": the index keeps the
// files in list order and apart even when names differ only in characters
// that a file name cannot carry; those (anything but letters, digits, '.',
// '-' and '_') become '_'.
std::string demoFileStem(int index, const std::string& description);

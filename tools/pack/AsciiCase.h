// Letter case as the archive and graph descriptions see it: only A to Z fold.
#pragma once

#include <string>
#include <string_view>

inline std::string asciiLowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

inline bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return asciiLowerCase(a) == asciiLowerCase(b);
}

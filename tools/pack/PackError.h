// The one-line error by which torvix-pack refuses its input.
#pragma once

#include <stdexcept>
#include <string>

// The message names the file, and the line where there is one
// ("data/bass.preset:4: unknown parameter 'Kay' for eq").
class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "file:line", "file:line:column", or "file" for line 0.
inline std::string sourcePlace(const std::string& file, int line, int column = 0) {
  if (line <= 0) return file;
  std::string place = file + ":" + std::to_string(line);
  return column > 0 ? place + ":" + std::to_string(column) : place;
}

// "file:line: message", or "file: message" for line 0.
inline PackError packError(const std::string& file, int line, const std::string& message) {
  return PackError(sourcePlace(file, line) + ": " + message);
}

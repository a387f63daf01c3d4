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

// "file:line: message", or "file: message" for line 0.
inline PackError packError(const std::string& file, int line, const std::string& message) {
  std::string where = line > 0 ? file + ":" + std::to_string(line) : file;
  return PackError(where + ": " + message);
}

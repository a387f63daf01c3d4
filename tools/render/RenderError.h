// The one kind of failure torvix-render reports to its user.
#pragma once

#include <stdexcept>
#include <string>

// A failure with a one-line message that names what was wrong (a file, an
// option, a parameter). The command prints it and exits non-zero.
class RenderError : public std::runtime_error {
 public:
  explicit RenderError(const std::string& message) : std::runtime_error(message) {}
};

// Wrong use of the command line; the command also points at --help.
class UsageError : public RenderError {
 public:
  using RenderError::RenderError;
};

// Where torvix-render reports to its user.
#pragma once

#include <istream>
#include <ostream>

struct RenderConsole {
  std::ostream& out;
  std::ostream& err;
  // A progress bar may be drawn on err (it is a terminal).
  bool progressOnErr = false;
  // Where an INPUT of "-" is read from; none, when null.
  std::istream* in = nullptr;
};

#include "platform/Terminal.h"

#include <io.h>
#include <stdio.h>

namespace platform {

bool isTerminal(StandardStream stream) {
  return _isatty(_fileno(stream == StandardStream::output ? stdout : stderr)) != 0;
}

}  // namespace platform

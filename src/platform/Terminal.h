// Whether a standard stream is attached to a terminal.
#pragma once

namespace platform {

enum class StandardStream { output, error };

// True when the stream writes to an interactive terminal (not a file or pipe),
// so that redrawn progress lines make sense there.
bool isTerminal(StandardStream stream);

}  // namespace platform

// Runs torvix-render's command in-process, as main() does, and keeps what
// it printed.
#pragma once

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "render/RenderCommand.h"

struct CommandRun {
  int status = -1;
  std::string out;
  std::string err;

  // onTerminal: err is taken for a terminal, where progress bars go.
  // standardInput: what "-" reads.
  explicit CommandRun(const std::vector<std::string>& arguments, bool onTerminal = false,
                      const std::string& standardInput = {}) {
    std::ostringstream outStream;
    std::ostringstream errStream;
    std::istringstream inStream(standardInput);
    RenderConsole console{outStream, errStream, onTerminal, &inStream};
    status = runRenderCommand(arguments, console);
    out = outStream.str();
    err = errStream.str();
  }

  // A failure as the command must report it: non-zero, one line on err.
  bool failedWithOneLine() const {
    return status != 0 && out.empty() && err.rfind("torvix-render: ", 0) == 0 &&
           err.find('\n') == err.size() - 1;
  }
};

// The names of the files in a directory, hidden ones included.
inline std::set<std::string> fileNamesIn(const std::filesystem::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// torvix-render: renders audio files through the plug-in module offline.
#include <iostream>
#include <string>
#include <vector>

#include "platform/Terminal.h"
#include "render/Interruption.h"
#include "render/RenderCommand.h"

int main(int argc, char** argv) {
  installInterruptionHandler();
  RenderConsole console{std::cout, std::cerr, platform::isTerminal(platform::StandardStream::error),
                        &std::cin};
  return runRenderCommand(std::vector<std::string>(argv + 1, argv + argc), console);
}

// The torvix-render command as a whole.
#pragma once

#include <string>
#include <vector>

#include "render/RenderConsole.h"

// Runs the command for the arguments after the program name. Returns the
// exit status: 0 on success, 1 when the run failed, 2 for a wrong command
// line. Every failure is one line on err, and no partial output remains.
int runRenderCommand(const std::vector<std::string>& arguments, RenderConsole& console);

// A test's hold on a "Preset" build.
#pragma once

#include <string>

// Called on the building thread with the description's name once prepareGraph has built it,
// before anything is installed, so that a test can hold a build at a known point and check
// that the audio thread plays on. Null, the default, calls nothing; tests set it for their
// own span only.
using GraphBuiltHook = void (*)(const std::string& name);

// Any thread: replaces the hook (null for none).
void setGraphBuiltHook(GraphBuiltHook hook);

// Building thread: calls the hook, if one is set.
void noteGraphBuilt(const std::string& name);

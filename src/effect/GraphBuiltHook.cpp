#include "effect/GraphBuiltHook.h"

#include <atomic>

namespace {
std::atomic<GraphBuiltHook> installedHook{nullptr};
}  // namespace

void setGraphBuiltHook(GraphBuiltHook hook) { installedHook.store(hook); }

void noteGraphBuilt(const std::string& name) {
  if (const GraphBuiltHook hook = installedHook.load()) hook(name);
}

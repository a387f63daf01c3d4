// The graph descriptions of the resource archive beside a plug-in module, read host-side.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ModuleDescription {
  std::string name;
  // Why the plug-in's builder refuses it; empty when it builds.
  std::string refusal;
};

// The descriptions in the archive that a module opens in archiveDirectory ("a.zip",
// else "torvix.data"), listed and built as the plug-in lists and builds them, with the
// plug-in's own code: so a description that the plug-in refuses is listed with its
// reason instead of ending the list. Empty when there is no archive there.
std::optional<std::vector<ModuleDescription>> readModuleDescriptions(const std::string& archiveDirectory);

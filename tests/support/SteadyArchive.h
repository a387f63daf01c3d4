// A resource archive of two descriptions for tests that load the built module.
#pragma once

#include <filesystem>
#include <string>

#include "support/ZipFixture.h"

// "steady.xml", a graph whose output depends on every sample but not on block borders, and
// "thru.xml", an empty graph.
inline bool writeSteadyArchive(const std::filesystem::path& path) {
  const std::string steadyGraph = R"(<torvix>
  <fx id="tone" type="eq"/>
  <fx id="hard" type="clip"/>
  <fx id="late" type="delay"/>
  <mixer id="blend" input="hard" input2="late"/>
</torvix>)";
  return writeZipFixture(path, {{"steady.xml", steadyGraph}, {"thru.xml", "<torvix/>"}});
}

// The Turtle of the LV2 bundle: manifest.ttl and torvix-distortion.ttl.
#pragma once

#include <string>
#include <vector>

// The texts describe the plug-in (name, licence, maintainer, version,
// features, ports; "Preset" with one scale point per sound, numbered in the
// order given, labelled by its name without ".xml") and its X11 UI.
class BundleTurtle {
 public:
  // sounds: the archive's graph descriptions in the order "Preset" selects
  // them; minorVersion and microVersion: LV2's version of the plug-in.
  BundleTurtle(std::vector<std::string> sounds, int minorVersion, int microVersion);

  // manifest.ttl: the plug-in and its UI with their binaries.
  std::string manifest() const;
  // torvix-distortion.ttl: everything else.
  std::string plugin() const;

  static constexpr const char* kManifestFile = "manifest.ttl";
  static constexpr const char* kPluginFile = "torvix-distortion.ttl";

 private:
  std::string presetPort() const;

  std::vector<std::string> sounds;
  int minorVersion;
  int microVersion;
};

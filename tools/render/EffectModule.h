// The plug-in module as torvix-render hosts it.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "host/HostCallback.h"
#include "host/HostedEffect.h"
#include "host/PluginModule.h"

// A module loaded from its path as a host loads it, with the host callback
// its effects talk to. It must outlive every effect it created.
class EffectModule {
 public:
  // Throws RenderError naming the path when the module cannot be loaded.
  // With an archive directory the host reports it as the module's directory,
  // where the module looks for its archive.
  explicit EffectModule(const std::string& path, const std::string& archiveDirectory = {});

  // A new effect instance, not yet opened. Throws RenderError when the module
  // creates none or creates one without an audio input and output.
  std::unique_ptr<HostedEffect> createEffect();

  const std::string& path() const { return modulePath; }
  // Where the module's effects find their archive: the directory given, or
  // the module's own.
  std::string archiveDirectory() const;

  // Held while instances are created and set up on several threads: the
  // module's instances share its archive, and setting up is brief beside
  // the rendering that follows.
  std::mutex& setupMutex() { return setup; }

 private:
  std::string modulePath;
  std::string givenArchiveDirectory;
  HostCallback callback;
  std::unique_ptr<PluginModule> module;
  std::mutex setup;
};

// "torvix_distortion.so" in the directory of the running executable, where
// the build puts the module beside torvix-render.
std::string defaultModulePath();

// A plug-in module loaded as a host loads it.
#pragma once

#include <memory>
#include <string>

#include "frame/VstInterface.h"
#include "platform/DynamicLibrary.h"

class HostCallback;

// Opens a module file and finds its entry point (VSTPluginMain, else main).
// The module must outlive every effect created from it.
class PluginModule {
 public:
  // nullptr, with the reason in error, when the file cannot be loaded or
  // exports no entry point.
  static std::unique_ptr<PluginModule> load(const std::string& path, std::string& error);

  // Calls the entry point with the host callback; the record is bound to
  // callback. nullptr when the module creates no effect.
  AEffect* createEffect(HostCallback& callback);

 private:
  using EntryPoint = AEffect*(VSTCALLBACK*)(audioMasterCallback);
  PluginModule(std::unique_ptr<platform::DynamicLibrary> library, EntryPoint entry);

  std::unique_ptr<platform::DynamicLibrary> library;
  EntryPoint entry;
};

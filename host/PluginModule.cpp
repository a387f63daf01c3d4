#include "host/PluginModule.h"

#include "host/HostCallback.h"

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
  auto library = std::make_unique<platform::DynamicLibrary>(path);
  if (!library->isOpen()) {
    error = library->error();
    return nullptr;
  }
  void* symbol = library->symbol("VSTPluginMain");
  if (!symbol) symbol = library->symbol("main");
  if (!symbol) {
    error = path + " exports no VSTPluginMain";
    return nullptr;
  }
  return std::unique_ptr<PluginModule>(
      new PluginModule(std::move(library), reinterpret_cast<EntryPoint>(symbol)));
}

PluginModule::PluginModule(std::unique_ptr<platform::DynamicLibrary> library, EntryPoint entry)
    : library(std::move(library)), entry(entry) {}

AEffect* PluginModule::createEffect(HostCallback& callback) {
  AEffect* effect = nullptr;
  {
    HostCallback::EntryScope scope(callback);
    effect = entry(&HostCallback::dispatch);
  }
  if (effect && effect->magic == kEffectMagic) {
    callback.adopt(effect);
    return effect;
  }
  return nullptr;
}

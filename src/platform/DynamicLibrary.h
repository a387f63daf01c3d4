// Loading a shared library (a plug-in module) at run time.
#pragma once

#include <string>

namespace platform {

// An open shared library; closed when destroyed.
class DynamicLibrary {
 public:
  // Opens the library at path; check isOpen() and error().
  explicit DynamicLibrary(const std::string& path);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  bool isOpen() const { return handle != nullptr; }
  // Why opening failed, as the operating system says it.
  const std::string& error() const { return lastError; }
  // The address of an exported symbol, or nullptr.
  void* symbol(const char* name) const;

 private:
  void* handle = nullptr;
  std::string lastError;
};

}  // namespace platform

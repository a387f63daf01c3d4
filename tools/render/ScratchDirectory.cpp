#include "render/ScratchDirectory.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "render/RenderError.h"

namespace {

// The module takes a reported directory holding ".so" for a module's file
// name, so a directory it may be told of must not lie below such a name.
constexpr const char* kModuleExtension = ".so";

}  // namespace

ScratchDirectory::ScratchDirectory(const std::string& purpose) {
  std::error_code error;
  std::filesystem::path parent = std::filesystem::temp_directory_path(error);
  if (error || parent.string().find(kModuleExtension) != std::string::npos) parent = "/tmp";
  std::string pattern = (parent / ("torvix-" + purpose + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) {
    throw RenderError("cannot make a temporary directory in " + parent.string() + ": " +
                      std::strerror(errno));
  }
  directory = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(directory, ignored);
}

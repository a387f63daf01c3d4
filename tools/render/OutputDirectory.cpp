#include "render/OutputDirectory.h"

#include <system_error>

#include "render/RenderError.h"

void prepareOutputDirectory(const std::filesystem::path& directory) {
  std::error_code error;
  if (std::filesystem::is_directory(directory, error)) return;
  std::filesystem::path target = std::filesystem::absolute(directory, error).lexically_normal();
  if (!target.has_filename()) target = target.parent_path();
  const std::filesystem::path parent = target.parent_path();
  if (!std::filesystem::is_directory(parent, error)) {
    throw RenderError("cannot create directory " + directory.string() + ": " + parent.string() +
                      " does not exist");
  }
  std::filesystem::create_directory(directory, error);
  if (error || !std::filesystem::is_directory(directory)) {
    throw RenderError("cannot create directory " + directory.string() + ": " +
                      (error ? error.message() : "a file of that name exists"));
  }
}

#include <gtest/gtest.h>

#include "effect/ModuleDirectoryPath.h"

namespace {

std::string windowsDirectory(const std::string& path) { return moduleDirectoryFromPath(path, '\\', ".dll"); }

TEST(ModuleDirectoryPath, HostDirectoryGetsASeparator) {
  EXPECT_EQ(windowsDirectory("C:\\Plugins"), "C:\\Plugins\\");
  EXPECT_EQ(windowsDirectory("C:\\Plugins\\"), "C:\\Plugins\\");
}

TEST(ModuleDirectoryPath, ModulePathIsCutAfterItsLastSeparator) {
  EXPECT_EQ(windowsDirectory("C:\\Plugins\\x.dll"), "C:\\Plugins\\");
  EXPECT_EQ(windowsDirectory("C:\\Vst\\Torvix Distortion.dll"), "C:\\Vst\\");
}

TEST(ModuleDirectoryPath, UpperCaseExtensionIsTakenForADirectory) {
  EXPECT_EQ(windowsDirectory("C:\\Plugins\\X.DLL"), "C:\\Plugins\\X.DLL\\");
}

TEST(ModuleDirectoryPath, ExtensionWithoutSeparatorGivesTheCurrentDirectory) {
  EXPECT_EQ(windowsDirectory("x.dll"), "");
}

TEST(ModuleDirectoryPath, ExtensionAtTheVeryStartDoesNotCount) {
  EXPECT_EQ(windowsDirectory(".dll"), ".dll\\");
}

TEST(ModuleDirectoryPath, PosixPathsUseSlashAndSo) {
  EXPECT_EQ(moduleDirectoryFromPath("/usr/lib/vst/torvix_distortion.so", '/', ".so"), "/usr/lib/vst/");
  EXPECT_EQ(moduleDirectoryFromPath("/home/me/.vst", '/', ".so"), "/home/me/.vst/");
}

}  // namespace

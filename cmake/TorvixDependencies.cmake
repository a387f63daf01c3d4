# Third-party libraries, each behind one imported target named torvix::<lib>.
# Native builds take Debian's -dev packages; cross builds take the libraries
# that cmake/setup-windows-deps.sh built into TORVIX_DEPS_PREFIX.

find_package(PkgConfig REQUIRED)

if(CMAKE_CROSSCOMPILING)
  include(TorvixCrossDependencies)
else()
  find_package(ZLIB REQUIRED)
  pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
  pkg_check_modules(TINYXML REQUIRED IMPORTED_TARGET tinyxml)
  add_library(torvix::zlib ALIAS ZLIB::ZLIB)
  add_library(torvix::minizip ALIAS PkgConfig::MINIZIP)
  add_library(torvix::tinyxml ALIAS PkgConfig::TINYXML)
endif()

if(TORVIX_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()

# Third-party libraries of the Windows cross builds. zlib is Debian's
# libz-mingw-w64-dev; minizip, TinyXML and GoogleTest were built for the
# triplet by cmake/setup-windows-deps.sh into TORVIX_DEPS_PREFIX. Every
# library is linked statically so the module needs nothing beside it.

set(TORVIX_DEPS_PREFIX "${CMAKE_BINARY_DIR}/deps" CACHE PATH "Prefix of the cross-built third-party libraries")
if(NOT EXISTS "${TORVIX_DEPS_PREFIX}/lib/libtinyxml.a")
  message(FATAL_ERROR "No cross-built libraries in ${TORVIX_DEPS_PREFIX}: run "
                      "cmake/setup-windows-deps.sh <triplet> ${TORVIX_DEPS_PREFIX} first")
endif()
list(APPEND CMAKE_PREFIX_PATH "${TORVIX_DEPS_PREFIX}")

# torvix_cross_library(NAME FILE INCLUDE_DIRS...): imported static library
# torvix::NAME from the archive FILE, searched in the toolchain's find roots.
function(torvix_cross_library name file)
  find_library(TORVIX_${name}_LIBRARY NAMES ${file} REQUIRED)
  add_library(torvix::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(torvix::${name} PROPERTIES
    IMPORTED_LOCATION "${TORVIX_${name}_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${ARGN}")
endfunction()

torvix_cross_library(zlib libz.a "")
torvix_cross_library(minizip libminizip.a
  "${TORVIX_DEPS_PREFIX}/include/minizip;${TORVIX_DEPS_PREFIX}/include")
target_link_libraries(torvix::minizip INTERFACE torvix::zlib)
torvix_cross_library(tinyxml libtinyxml.a "${TORVIX_DEPS_PREFIX}/include")
# The library was built with the STL interface; every user must see the same.
target_compile_definitions(torvix::tinyxml INTERFACE TIXML_USE_STL)

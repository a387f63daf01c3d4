# Shared part of the mingw-w64 toolchain files. The including file sets
# TORVIX_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR.
#
# Debian's posix thread variants of the compilers are used: the default
# (win32) variant has no std::thread or std::mutex.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TORVIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORVIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TORVIX_MINGW_TRIPLET}-windres)

# Libraries built by cmake/setup-windows-deps.sh for this triplet.
if(NOT TORVIX_DEPS_PREFIX)
  set(TORVIX_DEPS_PREFIX "${CMAKE_BINARY_DIR}/deps")
endif()
set(TORVIX_DEPS_PREFIX "${TORVIX_DEPS_PREFIX}" CACHE PATH "Prefix of the cross-built third-party libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TORVIX_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${TORVIX_MINGW_TRIPLET} ${TORVIX_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run under wine, in a wine prefix of this build directory.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix")

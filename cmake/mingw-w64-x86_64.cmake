# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compilers.
#
#   cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
#
# The libraries come from scripts/build-windows-deps, which installs them into
# the folder named by MW_WINDOWS_DEPS (a cache variable, else the environment
# variable of that name, else the same default the script uses).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MW_MINGW_TRIPLE x86_64-w64-mingw32)

# The posix-thread compilers: with the win32-thread ones std::thread, std::mutex
# and std::condition_variable do not exist.
set(CMAKE_C_COMPILER ${MW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MW_MINGW_TRIPLE}-windres)

if(NOT MW_WINDOWS_DEPS)
  if(NOT "$ENV{MW_WINDOWS_DEPS}" STREQUAL "")
    set(_mw_deps "$ENV{MW_WINDOWS_DEPS}")
  elseif(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(_mw_deps "$ENV{XDG_CACHE_HOME}/moewenschuss/win64")
  else()
    set(_mw_deps "$ENV{HOME}/.cache/moewenschuss/win64")
  endif()
  set(MW_WINDOWS_DEPS "${_mw_deps}" CACHE PATH "Prefix of the Windows libraries built by scripts/build-windows-deps")
  unset(_mw_deps)
endif()
# try_compile() projects read this file again without the cache; hand the
# prefix on so they search the same place.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MW_WINDOWS_DEPS)

# Headers, libraries and package files only from the Windows prefix and the
# mingw-w64 sysroot, never from the Linux system; programs (code generators,
# pkg-config, wine) are the build machine's own.
set(CMAKE_FIND_ROOT_PATH "${MW_WINDOWS_DEPS}" /usr/${MW_MINGW_TRIPLE})
list(APPEND CMAKE_PREFIX_PATH "${MW_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config would otherwise hand out the Linux SDL2 flags.
set(ENV{PKG_CONFIG_LIBDIR} "${MW_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Lets ctest (and gtest_discover_tests) run the test programs under Wine.
# Debian 12 keeps wine64 outside PATH, in /usr/lib/wine.
find_program(MW_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${MW_WINE}")
endif()

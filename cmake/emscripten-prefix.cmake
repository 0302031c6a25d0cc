# Lets a browser build (emcmake cmake) find the libraries that
# scripts/build-web-deps builds, and only those:
#
#   emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release
#
# with, in CMakeLists.txt after project() and before the find_package calls,
#
#   if(EMSCRIPTEN)
#     include(cmake/emscripten-prefix.cmake)
#     find_package(SDL2 CONFIG REQUIRED)        # SDL2::SDL2-static
#     find_package(SDL2_ttf CONFIG REQUIRED)    # SDL2_ttf::SDL2_ttf-static
#     find_package(SDL2_mixer CONFIG REQUIRED)  # SDL2_mixer::SDL2_mixer-static
#     find_package(SDL2_image CONFIG REQUIRED)  # SDL2_image::SDL2_image-static
#   endif()
#
# pkg-config finds the same libraries once this file is included, but
# pkg_check_modules reads only Libs, not what a static SDL2_ttf needs beside
# it: name harfbuzz and freetype2 among its modules too.
#
# SDL's package and .pc file bring the one link flag its Web Audio back end
# needs, -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@<a file in the prefix>. emcc keeps
# only the last value of a setting: a game that sets this one itself must name
# $autoResumeAudioContext and $dynCall in it too.
#
# The folder is MW_WEB_DEPS: a cache variable, else the environment variable
# of that name, else the default of the script.
#
# Why this is needed: emscripten's toolchain file lets find_package,
# find_library and find_path look only below the folders in
# CMAKE_FIND_ROOT_PATH, which holds just emscripten's own sysroot; and that
# sysroot has an SDL2 package of its own, which stands for the SDL that emcc
# downloads and builds itself (-sUSE_SDL=2). So the prefix is put first
# among the roots and the search paths, and the packages are named outright.
# Without this file the same follows from
#   -DCMAKE_FIND_ROOT_PATH=<prefix> -DCMAKE_PREFIX_PATH=<prefix>
# on the emcmake command line (the toolchain adds its sysroot after them).

if(NOT MW_WEB_DEPS)
  if(NOT "$ENV{MW_WEB_DEPS}" STREQUAL "")
    set(_mw_deps "$ENV{MW_WEB_DEPS}")
  elseif(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(_mw_deps "$ENV{XDG_CACHE_HOME}/moewenschuss/wasm32")
  else()
    set(_mw_deps "$ENV{HOME}/.cache/moewenschuss/wasm32")
  endif()
  set(MW_WEB_DEPS "${_mw_deps}" CACHE PATH "Prefix of the browser libraries built by scripts/build-web-deps")
  unset(_mw_deps)
endif()

foreach(_mw_package SDL2 SDL2_ttf SDL2_mixer SDL2_image harfbuzz)
  if(NOT EXISTS "${MW_WEB_DEPS}/lib/cmake/${_mw_package}")
    message(FATAL_ERROR "${_mw_package} for the browser is not in ${MW_WEB_DEPS}: "
                        "scripts/build-web-deps builds it there (or set MW_WEB_DEPS)")
  endif()
  set(${_mw_package}_DIR "${MW_WEB_DEPS}/lib/cmake/${_mw_package}" CACHE PATH "" FORCE)
endforeach()
unset(_mw_package)

list(PREPEND CMAKE_FIND_ROOT_PATH "${MW_WEB_DEPS}")
list(PREPEND CMAKE_PREFIX_PATH "${MW_WEB_DEPS}")

# pkg-config would otherwise hand out the Linux SDL2 flags.
set(ENV{PKG_CONFIG_LIBDIR} "${MW_WEB_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# emcc's own ports of these libraries stay off: emcc would download them.
# They are off by default; this says so where a reader of the build looks.
add_link_options(-sUSE_SDL=0 -sUSE_SDL_TTF=0 -sUSE_SDL_MIXER=0 -sUSE_SDL_IMAGE=0
                 -sUSE_FREETYPE=0 -sUSE_HARFBUZZ=0 -sUSE_LIBPNG=0 -sUSE_ZLIB=0)

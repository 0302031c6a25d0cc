# The Windows side of the build, cross-compiled on Debian with
# cmake/mingw-w64-x86_64.cmake: the static SDL libraries that
# scripts/build-windows-deps builds from Debian's source packages, and the
# compiler's own runtime linked in, so the zip holds one executable and no DLL.

find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(SDL2_mixer REQUIRED CONFIG)
find_package(SDL2_image REQUIRED CONFIG)

# The program's resources (mw_windows_resources) are compiled by windres; the
# icon is packed by a Python tool, run with Debian's own Python (PIL, numpy).
enable_language(RC)
find_program(MW_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(MW_ICO_FILE ${CMAKE_BINARY_DIR}/moewenschuss.ico)

# No SDL2main: main reads its arguments as UTF-16 itself (program_entry).
set(MW_SDL SDL2::SDL2-static)
set(MW_SDL_IMAGE SDL2_image::SDL2_image-static)
set(MW_PLATFORM_LIBRARIES SDL2_ttf::SDL2_ttf-static SDL2_mixer::SDL2_mixer-static
                          SDL2_image::SDL2_image-static SDL2::SDL2-static)

# libgcc, libstdc++ and winpthread go into each executable.
add_link_options(-static)

# mw_windows_program(target): the game is a program of the graphical kind, so
# no console window opens when it is started from Explorer; its symbols are
# stripped, as a player needs none.
function(mw_windows_program target)
  target_link_options(${target} PRIVATE -mwindows -s)
  mw_windows_resources(${target})
endfunction()

# mw_windows_resources(target): the program's icon (every size Windows shows,
# packed at build time from the desktop icons in dist/icons/), the version and
# names its file properties show, and its manifest (no stretching on scaled
# displays, the Windows versions it knows, UTF-8, long paths), compiled with
# windres into the executable.
function(mw_windows_resources target)
  set(sizes 16 24 32 48 64 256)
  set(pngs "")
  foreach(size ${sizes})
    list(APPEND pngs ${CMAKE_SOURCE_DIR}/dist/icons/${size}x${size}.png)
  endforeach()
  add_custom_command(
    OUTPUT ${MW_ICO_FILE}
    COMMAND ${MW_PYTHON} ${CMAKE_SOURCE_DIR}/tools/make_ico.py ${CMAKE_SOURCE_DIR}/dist/icons
            ${MW_ICO_FILE}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_ico.py ${pngs}
    COMMENT "Packing moewenschuss.ico")
  add_custom_target(windows_icon DEPENDS ${MW_ICO_FILE})

  set(MW_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
  string(REPLACE "." "," MW_VERSION_COMMAS ${MW_VERSION_QUAD})
  set(MW_MANIFEST_FILE ${CMAKE_BINARY_DIR}/moewenschuss.manifest)
  configure_file(${CMAKE_SOURCE_DIR}/dist/windows/moewenschuss.manifest.in ${MW_MANIFEST_FILE}
                 @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/dist/windows/moewenschuss.rc.in
                 ${CMAKE_BINARY_DIR}/moewenschuss.rc @ONLY)
  # A library of its own, so that windres gets none of the compiler's
  # options the program has (warnings); windres reads the icon and the
  # manifest the .rc names.
  add_library(${target}_resources OBJECT ${CMAKE_BINARY_DIR}/moewenschuss.rc)
  set_source_files_properties(${CMAKE_BINARY_DIR}/moewenschuss.rc PROPERTIES
                              OBJECT_DEPENDS "${MW_ICO_FILE};${MW_MANIFEST_FILE}")
  add_dependencies(${target}_resources windows_icon)
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_resources>)
endfunction()

# mw_windows_tests(sources_var): the test sources that build on Windows. A test
# that reaches POSIX itself (processes, signals, mounts) runs on Linux only; the
# rules it checks are the same on both systems or have a Windows test of their
# own.
function(mw_windows_tests sources_var)
  set(kept "")
  foreach(source ${${sources_var}})
    file(READ ${source} text)
    if(NOT text MATCHES "#include (<unistd\\.h>|<sys/|<signal\\.h>|\"hardening_sandbox\\.h\")")
      list(APPEND kept ${source})
    endif()
  endforeach()
  set(${sources_var} ${kept} PARENT_SCOPE)
endfunction()

# The zip a Windows player unpacks: the program, a short German guide, the
# game's licence and the fonts' licence, in one folder named after the version.
function(mw_windows_zip target)
  set(name moewenschuss-${PROJECT_VERSION}-win64)
  set(stage ${CMAKE_BINARY_DIR}/zip/${name})
  set(font_licence /usr/share/doc/fonts-liberation2/copyright)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${name}.zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${stage}/moewenschuss.exe
    COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_SOURCE_DIR}/dist/windows/LIESMICH.txt
            -DOUT=${stage}/LIESMICH.txt -P ${CMAKE_SOURCE_DIR}/cmake/crlf.cmake
    COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_SOURCE_DIR}/LICENSE -DOUT=${stage}/LICENSE.txt
            -P ${CMAKE_SOURCE_DIR}/cmake/crlf.cmake
    COMMAND ${CMAKE_COMMAND} -DIN=${font_licence} -DOUT=${stage}/Liberation-Schriften-Lizenz.txt
            -P ${CMAKE_SOURCE_DIR}/cmake/crlf.cmake
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
            ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${name}.zip --format=zip ${name}
    DEPENDS ${target} ${CMAKE_SOURCE_DIR}/dist/windows/LIESMICH.txt ${CMAKE_SOURCE_DIR}/LICENSE
            ${font_licence} ${CMAKE_SOURCE_DIR}/cmake/crlf.cmake
    COMMENT "Packing ${name}.zip")
  add_custom_target(windows_zip ALL DEPENDS ${CMAKE_BINARY_DIR}/${name}.zip)
  mw_windows_setup(${CMAKE_BINARY_DIR}/${name}.zip ${stage})
endfunction()

# The German setup program moewenschuss-VERSION-setup.exe, made with Debian's
# NSIS from the files of the zip (stage): the same program and texts, put into
# the Start menu and "Apps" with an uninstaller (dist/windows/moewenschuss.nsi).
function(mw_windows_setup zip stage)
  find_program(MW_MAKENSIS makensis REQUIRED)
  set(setup ${CMAKE_BINARY_DIR}/moewenschuss-${PROJECT_VERSION}-setup.exe)
  set(script ${CMAKE_SOURCE_DIR}/dist/windows/moewenschuss.nsi)
  add_custom_command(
    OUTPUT ${setup}
    COMMAND ${MW_MAKENSIS} -INPUTCHARSET UTF8 -V2 -WX -DVERSION=${PROJECT_VERSION}
            -DSTAGE=${stage} -DICON=${MW_ICO_FILE} -DOUTFILE=${setup} ${script}
    DEPENDS ${zip} ${script} ${MW_ICO_FILE}
    COMMENT "Making moewenschuss-${PROJECT_VERSION}-setup.exe")
  add_custom_target(windows_setup ALL DEPENDS ${setup})
  add_dependencies(windows_setup windows_icon)
endfunction()

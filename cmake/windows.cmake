# The Windows side of the build, cross-compiled on Debian with
# cmake/mingw-w64-x86_64.cmake: the static SDL libraries that
# scripts/build-windows-deps builds from Debian's source packages, and the
# compiler's own runtime linked in, so the zip holds one executable and no DLL.

find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(SDL2_mixer REQUIRED CONFIG)
find_package(SDL2_image REQUIRED CONFIG)

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
endfunction()

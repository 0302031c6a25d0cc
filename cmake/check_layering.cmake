# Fails when an include points upwards or sideways between the folders of
# src/, or when code outside src/platform/ includes SDL, the operating
# system's headers or the standard library's doors to the system (files,
# clock, environment, processes). Pure code may use the standard library's
# other headers wherever it lives. Run by CTest: cmake -DSOURCE_DIR=... -P this file.

# The pure folders: no SDL, no system; each may include itself and the ones
# named after it.
set(pure errors text drawing layout audio xdg embedded input script)
set(allowed_errors errors)
set(allowed_text text errors)
set(allowed_drawing drawing)
set(allowed_layout layout drawing)
set(allowed_audio audio)
set(allowed_xdg xdg)
set(allowed_embedded embedded)
set(allowed_input input drawing text errors)
set(allowed_script script input drawing text errors)
# Above them: the platform, the values the whole run shares, one game and the
# high scores, and the program with its screens.
set(allowed_platform platform ${pure})
set(allowed_shared shared platform ${pure})
set(allowed_game game shared platform ${pure})
set(allowed_highscores highscores shared platform ${pure})
set(allowed_app app game highscores shared platform ${pure})
# main.cpp is the process's edge: it asks the platform for the arguments and
# the console, and hands them on to the program.
set(allowed_main app platform)

# Inside the platform: the seam (the files at its top), the operating
# system, SDL, and the headless platform and the browser's, which draw with
# SDL's surfaces.
set(platform_parts_seam seam os)
set(platform_parts_os os)
set(platform_parts_sdl seam os sdl)
set(platform_parts_headless seam os sdl headless)
set(platform_parts_browser seam os sdl browser)

# Standard headers that reach the machine: only the platform may use them.
set(system_doors cstdio cstdlib ctime chrono filesystem fstream iostream thread csignal
                 cerrno random future mutex)

set(problems "")
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
foreach(file ${files})
  string(REGEX MATCH "^[^/]+" folder ${file})
  if(file STREQUAL "main.cpp")
    set(folder main)
  endif()
  if(NOT DEFINED allowed_${folder})
    string(APPEND problems "  src/${file}: the folder ${folder} has no place in the layering\n")
    continue()
  endif()
  set(part "")
  if(folder STREQUAL "platform")
    set(part seam)
    if(file MATCHES "^platform/([^/]+)/")
      set(part ${CMAKE_MATCH_1})
    endif()
    if(NOT DEFINED platform_parts_${part})
      string(APPEND problems "  src/${file}: the platform has no part named ${part}\n")
      continue()
    endif()
  endif()
  file(STRINGS ${SOURCE_DIR}/src/${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "\"([^/\"]+)/([^\"]+)\"")
      set(target ${CMAKE_MATCH_1})
      set(rest ${CMAKE_MATCH_2})
      list(FIND allowed_${folder} ${target} at)
      if(at EQUAL -1)
        string(REPLACE ";" ", " may "${allowed_${folder}}")
        string(APPEND problems "  src/${file}: ${line} (${folder} may include only ${may})\n")
      elseif(folder STREQUAL "platform" AND target STREQUAL "platform")
        set(target_part seam)
        if(rest MATCHES "^([^/]+)/")
          set(target_part ${CMAKE_MATCH_1})
        endif()
        list(FIND platform_parts_${part} ${target_part} at)
        if(at EQUAL -1)
          string(REPLACE ";" ", " may "${platform_parts_${part}}")
          string(APPEND problems
                 "  src/${file}: ${line} (the platform's ${part} may include only ${may})\n")
        endif()
      endif()
    elseif(NOT folder STREQUAL "platform" AND NOT folder STREQUAL "main" AND
           line MATCHES "<([^>]+)>")
      set(header ${CMAKE_MATCH_1})
      list(FIND system_doors ${header} door)
      if(header MATCHES "[./]" OR NOT door EQUAL -1)
        string(APPEND problems "  src/${file}: ${line} (only src/platform/ may reach the system)\n")
      endif()
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Includes that break the layering:\n${problems}")
endif()
list(LENGTH files count)
message(STATUS "layering: ${count} files keep to their layer")

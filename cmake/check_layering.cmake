# Fails when an include points upwards or sideways between the folders of
# src/, or when code above src/platform/ includes SDL, the operating system's
# headers or the standard library's doors to the system (files, clock,
# environment, processes). Run by CTest: cmake -DSOURCE_DIR=... -P this file.

# What each folder may include from src/: itself and the folders below it.
set(allowed_platform platform)
set(allowed_shared shared platform)
set(allowed_game game shared platform)
set(allowed_highscores highscores shared platform)
set(allowed_app app game highscores shared platform)

# Standard headers that reach the machine: only the platform may use them.
set(system_doors cstdio cstdlib ctime chrono filesystem fstream iostream thread csignal
                 cerrno random future mutex)

set(problems "")
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
foreach(file ${files})
  string(REGEX MATCH "^[^/]+" folder ${file})
  # main.cpp is the process's edge: it asks the platform for the arguments and
  # the console, and hands them on to the program.
  if(file STREQUAL "main.cpp")
    set(folder main)
    set(allowed_main app platform)
  endif()
  file(STRINGS ${SOURCE_DIR}/src/${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "\"([^/\"]+)/[^\"]+\"")
      list(FIND allowed_${folder} ${CMAKE_MATCH_1} at)
      if(at EQUAL -1)
        string(REPLACE ";" ", " may "${allowed_${folder}}")
        string(APPEND problems "  src/${file}: ${line} (${folder} may include only ${may})\n")
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
  message(FATAL_ERROR "Includes that break the layering app -> game, highscores -> shared -> platform:\n${problems}")
endif()
list(LENGTH files count)
message(STATUS "layering: ${count} files keep to their layer")

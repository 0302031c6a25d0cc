# The browser's side of the build, with Debian's emscripten against the static
# wasm32 libraries that scripts/build-web-deps makes from Debian's source
# packages (emcmake cmake -DMW_WEB_DEPS=...). Emscripten's own ports stay off:
# nothing is fetched while building.

include(${CMAKE_SOURCE_DIR}/cmake/emscripten-prefix.cmake)

find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(SDL2_mixer REQUIRED CONFIG)
find_package(SDL2_image REQUIRED CONFIG)

set(MW_SDL SDL2::SDL2-static)
set(MW_SDL_IMAGE SDL2_image::SDL2_image-static)
set(MW_PLATFORM_LIBRARIES SDL2_ttf::SDL2_ttf-static SDL2_mixer::SDL2_mixer-static
                          SDL2_image::SDL2_image-static SDL2::SDL2-static)

# The program's run-time errors are C++ exceptions: WebAssembly's own.
# Bulk memory: a copy of a picture's rows is one instruction each, where
# emscripten's memcpy hands each copy of 512 bytes or more to JavaScript.
add_compile_options(-fwasm-exceptions -mbulk-memory)
add_link_options(-fwasm-exceptions -mbulk-memory -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
                 -sTOTAL_STACK=1048576)

# mw_web_slim_files(assets_var fonts_var): the page ships only what it shows.
# The fonts keep only the characters Windows-1252 text can reach (Latin-1 with
# the C0 and C1 codes, and the 27 others of 0x80-0x9F) with their outlines,
# hinting, kerning and layout features, and the missing-glyph box, so text
# renders as with the whole fonts at a seventh of their size. The 24-bit
# pictures become 16-bit ones (tools/bmp_to_rgb565.py), the display's own
# layout here. Made when CMake runs, since the embedding needs their sizes;
# CMake runs again when a source file or the tool changes.
function(mw_web_slim_files assets_var fonts_var)
  set(out ${CMAKE_BINARY_DIR}/slim)
  set(tool ${CMAKE_SOURCE_DIR}/tools/bmp_to_rgb565.py)
  find_program(MW_PYFTSUBSET pyftsubset REQUIRED)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${tool} ${${assets_var}} ${${fonts_var}})
  execute_process(COMMAND /usr/bin/python3 ${tool} ${out}/assets ${${assets_var}}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "The pictures for the page could not be made (${tool})")
  endif()
  set(assets "")
  foreach(file ${${assets_var}})
    get_filename_component(name ${file} NAME)
    list(APPEND assets ${out}/assets/${name})
  endforeach()

  set(unicodes "U+0000-00FF,U+0152-0153,U+0160-0161,U+0178,U+017D-017E,U+0192,U+02C6,U+02DC")
  string(APPEND unicodes ",U+2013-2014,U+2018-201A,U+201C-201E,U+2020-2022,U+2026,U+2030")
  string(APPEND unicodes ",U+2039-203A,U+20AC,U+2122")
  set(fonts "")
  foreach(font ${${fonts_var}})
    get_filename_component(name ${font} NAME)
    set(slim ${out}/fonts/${name})
    if(NOT EXISTS ${slim} OR ${font} IS_NEWER_THAN ${slim} OR
       ${CMAKE_CURRENT_FUNCTION_LIST_FILE} IS_NEWER_THAN ${slim})
      file(MAKE_DIRECTORY ${out}/fonts)
      execute_process(COMMAND ${MW_PYFTSUBSET} ${font} --unicodes=${unicodes} --layout-features=*
                              --notdef-outline --legacy-kern --output-file=${slim}
                      RESULT_VARIABLE failed ERROR_VARIABLE messages)
      if(failed)
        file(REMOVE ${slim})
        message(FATAL_ERROR "The font ${font} could not be cut down for the page: ${messages}")
      endif()
    endif()
    list(APPEND fonts ${slim})
  endforeach()
  set(${assets_var} ${assets} PARENT_SCOPE)
  set(${fonts_var} ${fonts} PARENT_SCOPE)
endfunction()

set(MW_WEB_NAME moewenschuss-${PROJECT_VERSION}-web)
set(MW_WEB_DIR ${CMAKE_BINARY_DIR}/${MW_WEB_NAME})

# mw_web_programs(target): the target becomes the page's program, in the
# page's folder with the page's own files; a copy of it is built for Node.js,
# where it runs headless and reads and writes the machine's files.
function(mw_web_programs target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${MW_WEB_DIR})
  # main starts on the page's click; the page keeps /data in IndexedDB.
  target_link_options(${target} PRIVATE -sENVIRONMENT=web -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
                      "-sEXPORTED_RUNTIME_METHODS=['callMain','FS']" -lidbfs.js)

  add_executable(${target}-node ${CMAKE_SOURCE_DIR}/src/main.cpp)
  target_compile_options(${target}-node PRIVATE ${MW_WARNINGS})
  target_link_libraries(${target}-node PRIVATE mw_app)
  target_compile_definitions(${target}-node PRIVATE MW_VERSION="${PROJECT_VERSION}")
  target_link_options(${target}-node PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
                      --pre-js ${CMAKE_SOURCE_DIR}/web/node-environment.js)
  set_property(TARGET ${target}-node APPEND PROPERTY LINK_DEPENDS
               ${CMAKE_SOURCE_DIR}/web/node-environment.js)

  set(page_files ${CMAKE_SOURCE_DIR}/web/index.html ${CMAKE_SOURCE_DIR}/web/page.css
                 ${CMAKE_SOURCE_DIR}/web/page.js ${CMAKE_SOURCE_DIR}/web/manifest.webmanifest)
  set(icons ${CMAKE_SOURCE_DIR}/dist/icons)
  # The favicon, the icon of a page added to an iPhone's home screen, and the
  # manifest's icons for an installed page (a phone cuts the maskable one to
  # its own shape).
  set(page_icons ${icons}/32x32.png ${icons}/192x192.png ${icons}/512x512.png
                 ${icons}/maskable-512x512.png)
  # The service worker is filled in last: it names every other file's bytes.
  set(service_worker ${CMAKE_SOURCE_DIR}/web/service-worker.js)
  set(fill_service_worker ${CMAKE_SOURCE_DIR}/cmake/web-service-worker.cmake)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${MW_WEB_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E copy ${page_files} ${MW_WEB_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${icons}/32x32.png ${MW_WEB_DIR}/favicon.png
    COMMAND ${CMAKE_COMMAND} -E copy ${icons}/192x192.png ${MW_WEB_DIR}/icon-192.png
    COMMAND ${CMAKE_COMMAND} -E copy ${icons}/512x512.png ${MW_WEB_DIR}/icon-512.png
    COMMAND ${CMAKE_COMMAND} -E copy ${icons}/maskable-512x512.png
            ${MW_WEB_DIR}/icon-maskable-512.png
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${MW_WEB_DIR} -DVERSION=${PROJECT_VERSION}
            -DTEMPLATE=${service_worker} -P ${fill_service_worker}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/${MW_WEB_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${MW_WEB_NAME}.zip --format=zip
            ${MW_WEB_NAME}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS ${target} ${page_files} ${page_icons} ${service_worker} ${fill_service_worker}
    COMMENT "Packing ${MW_WEB_NAME}.zip")
  add_custom_target(web_page ALL DEPENDS ${CMAKE_BINARY_DIR}/${MW_WEB_NAME}.zip)
endfunction()

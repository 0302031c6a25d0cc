# Fills the page's service worker in for the page's folder: the game's version,
# the SHA-256 of every file in the folder and a stamp made of them all, so that
# each build is a version of its own for the browsers that keep the page, and a
# browser can tell a whole build from a mix of two.
#
#   cmake -DFOLDER=PAGE_FOLDER -DVERSION=1.0.0 -DTEMPLATE=web/service-worker.js
#         -P cmake/web-service-worker.cmake
foreach(needed FOLDER VERSION TEMPLATE)
  if(NOT DEFINED ${needed})
    message(FATAL_ERROR "web-service-worker.cmake needs -D${needed}=...")
  endif()
endforeach()

file(GLOB names RELATIVE ${FOLDER} ${FOLDER}/*)
list(REMOVE_ITEM names service-worker.js)
list(SORT names)
set(entries "")
set(listing "")
foreach(name ${names})
  if(IS_DIRECTORY ${FOLDER}/${name})
    continue()
  endif()
  file(SHA256 ${FOLDER}/${name} digest)
  string(APPEND entries "\n  '${name}': '${digest}',")
  string(APPEND listing "${name} ${digest}\n")
endforeach()
string(SHA256 stamp "${listing}")
string(SUBSTRING ${stamp} 0 16 stamp)

file(READ ${TEMPLATE} text)
string(REPLACE "@MW_VERSION@" "${VERSION}" text "${text}")
string(REPLACE "@MW_BUILD_STAMP@" "${stamp}" text "${text}")
string(REPLACE "/*@MW_PAGE_FILES@*/" "${entries}\n" text "${text}")
file(WRITE ${FOLDER}/service-worker.js "${text}")

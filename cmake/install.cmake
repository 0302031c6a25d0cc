# What an install puts on a player's desktop (make install) and the Debian
# package made of the same install rules (make deb). The files come from dist/.
include(GNUInstallDirs)

set(MW_APP_ID org.example.moewenschuss)
# A game's program lives in games/ beside bin/: /usr/games in the package,
# /usr/local/games with the default prefix. Both are on Debian's PATH.
set(MW_INSTALL_GAMESDIR games CACHE STRING "Folder of the program, relative to the install prefix")

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS moewenschuss RUNTIME DESTINATION ${MW_INSTALL_GAMESDIR})

# The man page and the changelog are installed compressed; gzip -n leaves the
# name and time out of the header, so every build gives the same bytes.
set(MW_DIST_BUILD_DIR ${CMAKE_BINARY_DIR}/dist)
set(MW_GZIPPED)
foreach(name moewenschuss.6 changelog)
  set(out ${MW_DIST_BUILD_DIR}/${name}.gz)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MW_DIST_BUILD_DIR}
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/dist/${name} ${out}
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/${name}
    VERBATIM)
  list(APPEND MW_GZIPPED ${out})
endforeach()
add_custom_target(mw_dist_files ALL DEPENDS ${MW_GZIPPED})

install(FILES ${MW_DIST_BUILD_DIR}/moewenschuss.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/dist/copyright ${MW_DIST_BUILD_DIR}/changelog.gz
              ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/dist/${MW_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/${size}x${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${MW_APP_ID}.png)
endforeach()

# The desktop entry starts the program by its full path, so it works whatever
# the PATH of the desktop session. The path is the one the install is made
# for, known only at install time (cmake --install --prefix, the package's /usr).
install(CODE "
  set(games_dir \"${MW_INSTALL_GAMESDIR}\")
  if(NOT IS_ABSOLUTE \"\${games_dir}\")
    set(games_dir \"\${CMAKE_INSTALL_PREFIX}/\${games_dir}\")
  endif()
  set(MW_EXEC \"\${games_dir}/moewenschuss\")
  configure_file(\"${CMAKE_SOURCE_DIR}/dist/${MW_APP_ID}.desktop.in\"
                 \"${MW_DIST_BUILD_DIR}/${MW_APP_ID}.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\"
       TYPE FILE FILES \"${MW_DIST_BUILD_DIR}/${MW_APP_ID}.desktop\")
")

# The Debian package (make deb): the install above under /usr, the program
# stripped, the dependencies read from the libraries it links.
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_NAME moewenschuss)
set(CPACK_PACKAGE_VENDOR "Möwenschuss-Team")
set(CPACK_PACKAGE_CONTACT "Möwenschuss-Team <debian@moewenschuss.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: shoot the seagulls over the evening sea")
set(CPACK_PACKAGE_DESCRIPTION
    "Möwenschuss is a small full-screen arcade shooter with a German user
interface. Seagulls fly out of a wide sea panorama towards the player,
growing as they come. The player scrolls the view with the mouse or the
arrow keys, aims with the mouse and shoots them with a rifle of eight
cartridges or a machine gun; a far gull is worth more than a near one.
Hitting the ship that crosses the sea switches the game into ship-sinking
mode, where ships earn points and gulls cost them. Splats on the
windscreen can be wiped off for a price. The five best results are kept
in a high-score table in each player's data folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://moewenschuss.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)

# The package check needs the release build; in a sanitizer build it skips.
if(TEST package_test)
  set_tests_properties(package_test PROPERTIES SKIP_RETURN_CODE 77)
endif()

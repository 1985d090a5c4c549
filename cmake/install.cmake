# What `cmake --install` lays out: the game, its desktop entry, icons drawn by
# tools/icongen, the manual page with the configuration keys from the key
# table, the AppStream data, and the README, licence and changelog.
include(GNUInstallDirs)
# Games go into their own folder (/usr/games in the Debian package), which
# is on every user's PATH on Debian and Ubuntu.
set(VORN_INSTALL_GAMESDIR games CACHE PATH "Where the game is installed, under the prefix")

add_executable(icongen tools/icongen.cpp)
target_link_libraries(icongen PRIVATE vorncore)

set(VORN_SHARE_OUT ${CMAKE_BINARY_DIR}/share)
set(VORN_ICON_SIZES 32 64 128 256)
set(VORN_ICONS "")
foreach(size ${VORN_ICON_SIZES})
  list(APPEND VORN_ICONS ${VORN_SHARE_OUT}/vorn-${size}.png)
endforeach()
add_custom_command(OUTPUT ${VORN_ICONS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VORN_SHARE_OUT}
  COMMAND icongen ${VORN_SHARE_OUT}
  DEPENDS icongen
  COMMENT "Drawing the icons")

# Manual page and changelog, compressed the way Debian wants them (-n: no
# name or time stamp, so the same sources give the same bytes).
add_custom_command(OUTPUT ${VORN_SHARE_OUT}/vorn.6 ${VORN_SHARE_OUT}/vorn.6.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VORN_SHARE_OUT}
  COMMAND ${CMAKE_COMMAND} -DCONFIGDOC=$<TARGET_FILE:configdoc>
          -DTEMPLATE=${CMAKE_SOURCE_DIR}/docs/vorn.6.in -DOUTPUT=${VORN_SHARE_OUT}/vorn.6
          -P ${CMAKE_SOURCE_DIR}/cmake/make_manpage.cmake
  COMMAND gzip -9nfk ${VORN_SHARE_OUT}/vorn.6
  DEPENDS configdoc ${CMAKE_SOURCE_DIR}/docs/vorn.6.in ${CMAKE_SOURCE_DIR}/cmake/make_manpage.cmake
  COMMENT "Making the manual page")
add_custom_command(OUTPUT ${VORN_SHARE_OUT}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VORN_SHARE_OUT}
  COMMAND gzip -9n < ${CMAKE_SOURCE_DIR}/packaging/changelog > ${VORN_SHARE_OUT}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(vorn_share ALL DEPENDS ${VORN_ICONS} ${VORN_SHARE_OUT}/vorn.6.gz
                  ${VORN_SHARE_OUT}/changelog.gz)

install(TARGETS vorn RUNTIME DESTINATION ${VORN_INSTALL_GAMESDIR})
install(FILES packaging/vorn.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/vorn.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME io.github.vorn_game.vorn.metainfo.xml)
foreach(size ${VORN_ICON_SIZES})
  install(FILES ${VORN_SHARE_OUT}/vorn-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vorn.png)
endforeach()
install(FILES ${VORN_SHARE_OUT}/vorn.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES README.md packaging/copyright ${VORN_SHARE_OUT}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(cmake/package.cmake)

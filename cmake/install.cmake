# What `cmake --install` lays out (GNU directories; DESTDIR and --prefix
# respected): the game, its desktop entry, icons, manual page, AppStream data
# and documents; and the Debian package CPack builds from the same layout.
include(GNUInstallDirs)

# The release these files describe.
set(VORN_DATE 2026-12-07)

# The icons: the station drawn by the game's own primitives (make_icons).
set(VORN_ICON_SIZES 32 64 128 256)
add_executable(make_icons tools/make_icons.cpp)
target_link_libraries(make_icons PRIVATE vorncore)
set(VORN_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(VORN_ICONS)
foreach(size ${VORN_ICON_SIZES})
  list(APPEND VORN_ICONS ${VORN_ICON_DIR}/${size}.png)
endforeach()
add_custom_command(OUTPUT ${VORN_ICONS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VORN_ICON_DIR}
  COMMAND make_icons ${VORN_ICON_DIR} ${VORN_ICON_SIZES}
  DEPENDS make_icons
  COMMENT "Drawing the icons")

# The manual page: the template with the options, the controls and the
# configuration keys from the game's tables. The folder of the README it
# names follows the prefix the game is installed under, so the page is
# finished (and compressed, as Debian wants: best level, no time stamp) when
# it is installed.
set(VORN_MANUAL ${CMAKE_BINARY_DIR}/vorn.6)
add_custom_command(OUTPUT ${VORN_MANUAL}
  COMMAND configdoc --roff > ${CMAKE_BINARY_DIR}/config_keys.roff
  COMMAND optiondoc options-roff > ${CMAKE_BINARY_DIR}/options.roff
  COMMAND optiondoc controls-roff > ${CMAKE_BINARY_DIR}/controls.roff
  COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${CMAKE_SOURCE_DIR}/packaging/vorn.6.in
          -DKEYS=${CMAKE_BINARY_DIR}/config_keys.roff -DOPTIONS=${CMAKE_BINARY_DIR}/options.roff
          -DCONTROLS=${CMAKE_BINARY_DIR}/controls.roff -DOUT=${VORN_MANUAL}
          -DPROJECT_VERSION=${PROJECT_VERSION} -DVORN_DATE=${VORN_DATE}
          -P ${CMAKE_SOURCE_DIR}/cmake/make_manual.cmake
  DEPENDS configdoc optiondoc ${CMAKE_SOURCE_DIR}/packaging/vorn.6.in ${CMAKE_SOURCE_DIR}/cmake/make_manual.cmake
  COMMENT "Writing the manual page")
# The AppStream data carry the same version and date.
set(VORN_METAINFO ${CMAKE_BINARY_DIR}/io.vorn.Vorn.metainfo.xml)
configure_file(packaging/io.vorn.Vorn.metainfo.xml.in ${VORN_METAINFO} @ONLY)
add_custom_target(vorn_data ALL DEPENDS ${VORN_ICONS} ${VORN_MANUAL})

# The game goes into bin; Debian's package puts it into games, as Debian
# does with games (tools/package.sh sets VORN_BINDIR=games).
set(VORN_BINDIR ${CMAKE_INSTALL_BINDIR} CACHE STRING "Where the game is installed, below the prefix")
install(TARGETS vorn RUNTIME DESTINATION ${VORN_BINDIR})
install(FILES packaging/vorn.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VORN_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${VORN_ICON_SIZES})
  install(FILES ${VORN_ICON_DIR}/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vorn.png)
endforeach()
install(CODE "
  set(docdir \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DOCDIR}\")
  if(IS_ABSOLUTE \"${CMAKE_INSTALL_DOCDIR}\")
    set(docdir \"${CMAKE_INSTALL_DOCDIR}\")
  endif()
  file(READ \"${VORN_MANUAL}\" page)
  string(REPLACE \"@VORN_DOCDIR@\" \"\${docdir}/\" page \"\${page}\")
  file(WRITE \"${CMAKE_BINARY_DIR}/installed/vorn.6\" \"\${page}\")
  execute_process(COMMAND gzip -9 -n -f \"${CMAKE_BINARY_DIR}/installed/vorn.6\" COMMAND_ERROR_IS_FATAL ANY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man6\" TYPE FILE
       FILES \"${CMAKE_BINARY_DIR}/installed/vorn.6.gz\")
")
install(FILES README.md packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Debian's name and form for the changelog.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
add_custom_target(vorn_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package (tools/package.sh builds and checks it).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vorn maintainers <maintainers@users.noreply.c-seed-1eb4d238.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "soft-body space shooter")
set(CPACK_PACKAGE_DESCRIPTION "Every ship and the large diamond-shaped station is a body of point masses
joined by springs that heat up and break under beams and collisions, in a
world that wraps around at its edges. Break the enemy darts apart, then
reach the station's core with your beam. Drawn in software through SDL.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vorn.example/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

# The Debian package (cpack -G DEB, or tools/package.sh): the installed
# layout under /usr, its library dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Vorn developers <vorn@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "soft-body space shooter")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The long description; CPack puts the summary above it as the synopsis and
# indents every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A real-time 2-D space shooter in which every ship, and a large
diamond-shaped station, is a soft body of point masses joined by springs.
The player turns a small ship towards the mouse pointer, thrusts with the
keyboard and fires a beam that heats the links of a ship until they break.
Break the enemy darts apart, then reach the station's core.")
include(CPack)

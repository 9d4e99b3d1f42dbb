# Installing Quillon like a desktop game (GNUInstallDirs with Debian's layout for games) and
# packing the install into a .deb with CPack. Included by the top-level CMakeLists.txt.
set(QUILLON_APP_ID io.github.quillon.Quillon)
set(QUILLON_MAINTAINER "Quillon maintainers <maintainers@users.noreply.c-seed-22407f09.example>"
    CACHE STRING "Maintainer named in the package and its changelog")
set(QUILLON_HOMEPAGE "https://quillon.example.org" CACHE STRING "The game's home page")
set(QUILLON_SCREENSHOT_URL "${QUILLON_HOMEPAGE}/docs/screenshots"
    CACHE STRING "Where the pictures of docs/screenshots are published")
execute_process(COMMAND date -u -R -d "${QUILLON_RELEASE_DATE}"
                OUTPUT_VARIABLE QUILLON_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)

set(dist ${CMAKE_SOURCE_DIR}/dist)
set(out ${CMAKE_BINARY_DIR}/dist)
configure_file(${dist}/${QUILLON_APP_ID}.metainfo.xml.in ${out}/${QUILLON_APP_ID}.metainfo.xml @ONLY)
configure_file(${dist}/quillon.6.in ${out}/quillon.6 @ONLY)
configure_file(${dist}/changelog.in ${out}/changelog @ONLY)

# Manual page and changelog are shipped compressed, as Debian wants them (-n: no time stamp, so
# the same sources give the same bytes).
foreach(name quillon.6 changelog)
  add_custom_command(OUTPUT ${out}/${name}.gz
    COMMAND gzip -9 -n -c ${out}/${name} > ${out}/${name}.gz
    DEPENDS ${out}/${name})
endforeach()
add_custom_target(dist_documents ALL DEPENDS ${out}/quillon.6.gz ${out}/changelog.gz)

install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/Data DESTINATION ${QUILLON_INSTALL_DATADIR})
install(FILES ${dist}/${QUILLON_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist}/${QUILLON_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${out}/${QUILLON_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${out}/quillon.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${dist}/copyright ${out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# `cpack -G DEB` (or `make package`) in the build folder: quillon_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quillon developers")
set(CPACK_PACKAGE_CONTACT "${QUILLON_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small 3-D car racing game against the clock")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quillon is a small 3-D car racing game for one player, or two on a split\n"
  "screen. Pick one of three cars and one of seven tracks (or your own) in\n"
  "animated menus, wait for the countdown and drive the laps against the clock.\n"
  "Leaving the road costs health, and too much damage ends the race in a crash.\n"
  "Best times are kept, the fastest race comes back as a ghost to race and\n"
  "share, and any race can be watched again.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLON_HOMEPAGE}")
# Libraries from the executable's own links; the text needs a bold sans-serif face.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

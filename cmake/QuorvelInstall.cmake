# What `cmake --install` puts on the system, and the Debian package CPack
# makes of it: the two programs, the desktop entry with the site file type
# (so a double-click on a .ste file opens it), the icon and a manual page
# for each program. The tests and benchmarks install nothing.
include(GNUInstallDirs)

install(TARGETS quorvel quorvel-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(QUORVEL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${QUORVEL_PACKAGING_DIR}/quorvel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUORVEL_PACKAGING_DIR}/quorvel.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${QUORVEL_PACKAGING_DIR}/quorvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages carry the project's version and are installed compressed, as
# Debian's policy asks; -n leaves the name and time out of the gzip header,
# so the same page always gives the same bytes.
set(QUORVEL_MAN_PAGES)
foreach(page quorvel.1 quorvel-sim.1)
  set(source ${CMAKE_BINARY_DIR}/man/${page})
  configure_file(${QUORVEL_PACKAGING_DIR}/${page}.in ${source} @ONLY)
  add_custom_command(OUTPUT ${source}.gz
                     COMMAND gzip -9nkf ${source}
                     DEPENDS ${source}
                     COMMENT "Compressing manual page ${page}"
                     VERBATIM)
  list(APPEND QUORVEL_MAN_PAGES ${source}.gz)
endforeach()
add_custom_target(quorvel_man ALL DEPENDS ${QUORVEL_MAN_PAGES})
install(FILES ${QUORVEL_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. dpkg-shlibdeps finds the Debian packages of the shared
# libraries the programs link (Qt 6, libjpeg, the C and C++ runtimes), so the
# package installs with apt on Debian 12 and pulls in exactly those.
set(QUORVEL_MAINTAINER "Quorvel developers <quorvel-dev@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_CONTACT ${QUORVEL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "network tool for refrigeration controller sites")
set(CPACK_PACKAGE_DESCRIPTION "Quorvel connects to a site of refrigeration and environment controllers
through a serial port or a dial-up modem: it scans the units, watches their
alarms, trips and values, downloads the site's data logger into log files,
sets the logger's clock and edits the units' settings. A supervising program
can run it unattended from the command line. quorvel-sim serves a simulated
site on a pseudo-terminal.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

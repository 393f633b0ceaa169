# Installation and the Debian package: the program and its manual page under the prefix, and
# `cpack -G DEB` in the build folder to turn the same install into intcalc_<version>_<arch>.deb.
include(GNUInstallDirs)

install(TARGETS intcalc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/docs/intcalc.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME intcalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "intcalc developers")
set(CPACK_PACKAGE_CONTACT "intcalc developers <intcalc@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for 32-bit signed integer expressions, one per line")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The summary above becomes the first line of the Debian description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Reads expressions of decimal literals, + - * / and parentheses from standard input,\none per line, and writes each value with exact 32-bit wrap-around arithmetic.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Architecture and run-time dependencies come from dpkg itself where it is present; the explicit
# line is the fallback for a machine without dpkg-shlibdeps, or without `file`, which CPack needs
# to find the executables to hand it.
find_program(INTCALC_DPKG dpkg)
if(INTCALC_DPKG)
  execute_process(COMMAND ${INTCALC_DPKG} --print-architecture
                  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
find_program(INTCALC_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(INTCALC_FILE file)
if(INTCALC_DPKG_SHLIBDEPS AND INTCALC_FILE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6")
endif()

set(CPACK_GENERATOR DEB)
include(CPack)

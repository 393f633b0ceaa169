# Installation and the Debian package: the program, its manual page, the licence and the changelog
# under the prefix, and `cpack -G DEB` in the build folder to turn the same install into
# intcalc_<version>_<arch>.deb (tools/deb.sh does so in a build made as Debian makes one). The
# documents are made at configure time from docs/intcalc.1, LICENSE and CHANGELOG.md, carrying the
# project's version, in the forms a Debian package needs.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/debian_docs.cmake)

set(INTCALC_MAINTAINER "intcalc developers <intcalc@example.org>")
set(doc_dir ${CMAKE_CURRENT_BINARY_DIR}/doc)

configure_file(docs/intcalc.1 ${doc_dir}/intcalc.1 @ONLY)
intcalc_debian_copyright(${CMAKE_CURRENT_SOURCE_DIR}/LICENSE ${doc_dir}/copyright)
intcalc_debian_changelog(${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md ${doc_dir}/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md)

# Manual pages and changelogs are shipped compressed, with no timestamp in the gzip header, so
# that two builds of one version make the same package.
find_program(INTCALC_GZIP gzip)
set(manual ${doc_dir}/intcalc.1)
set(changelog ${doc_dir}/changelog)
if(INTCALC_GZIP)
  foreach(file ${manual} ${changelog})
    execute_process(COMMAND ${INTCALC_GZIP} -9nf ${file} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  string(APPEND manual .gz)
  string(APPEND changelog .gz)
endif()

install(TARGETS intcalc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's, or `cmake --install --strip`) also drops the .comment section,
# the compilers' version notes, as Debian's packaging does: strip alone keeps it.
if(CMAKE_OBJCOPY)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/intcalc\" COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endif()
install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${doc_dir}/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME intcalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "intcalc developers")
set(CPACK_PACKAGE_CONTACT "${INTCALC_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for 32-bit signed integer expressions, one per line")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${INTCALC_MAINTAINER}")
# The summary above becomes the first line of the Debian description; this is the rest, in lines
# of at most 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Reads expressions of decimal literals, + - * / and parentheses from standard
input, one per line, and writes each value with exact 32-bit wrap-around
arithmetic.")
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

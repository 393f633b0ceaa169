# The Windows package: `cpack -G ZIP` in the Windows build folder (or the `windows` workflow)
# makes intcalc-<version>-win64.zip holding bin/intcalc.exe, README.md and LICENSE, with no folder
# around them. Nothing else is installed there: a manual page has no reader on that platform.
install(TARGETS intcalc RUNTIME DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)

set(CPACK_PACKAGE_FILE_NAME intcalc-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)  # the symbol table serves no user of the zip: 47 KB instead of 257 KB
set(CPACK_GENERATOR ZIP)
include(CPack)

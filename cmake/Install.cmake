# Installation and packages.
#
# Linux: <prefix>/lib/tamsel/ holds the executable and its complete default
# settings file (so an installed Tamsel never needs to write it), with a
# symbolic link <prefix>/bin/Tamsel; the manual, the runtime unit and the
# examples go to <prefix>/share/doc/tamsel/. Windows: one folder with
# Tamsel.exe, Tamsel.ini, the manual, the runtime unit and the examples.

# The manual, in Shift-JIS with CR LF and in UTF-8, from one source.
find_program(TAMSEL_ICONV iconv REQUIRED)
set(TAMSEL_MANUAL_SJIS ${CMAKE_BINARY_DIR}/Tamsel10.txt)
set(TAMSEL_MANUAL_UTF8 ${CMAKE_BINARY_DIR}/Tamsel10.utf8.txt)
add_custom_command(
  OUTPUT ${TAMSEL_MANUAL_SJIS} ${TAMSEL_MANUAL_UTF8}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/docs/Tamsel10.utf8.txt
          -DSJIS=${TAMSEL_MANUAL_SJIS} -DUTF8=${TAMSEL_MANUAL_UTF8} -DICONV=${TAMSEL_ICONV}
          -P ${CMAKE_SOURCE_DIR}/cmake/make_manual.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/Tamsel10.utf8.txt ${CMAKE_SOURCE_DIR}/cmake/make_manual.cmake
  COMMENT "Writing the manual Tamsel10.txt")
add_custom_target(manual ALL DEPENDS ${TAMSEL_MANUAL_SJIS} ${TAMSEL_MANUAL_UTF8})

# The default settings file: every key with its default, as a first run
# writes it (a test compares the two).
set(TAMSEL_DEFAULT_SETTINGS ${CMAKE_BINARY_DIR}/install/Tamsel.ini)
file(WRITE ${TAMSEL_DEFAULT_SETTINGS}
  "[Tamsel]\r\nTab=2\r\nUseUnit=Tamsel_common\r\ncTIniter=TIniter\r\ncCheck=Check\r\n"
  "cAll=All\r\ncSelf=Self\r\ncFileName=FFileName\r\ncSection=FSection\r\ncIniRead=iniRead\r\n"
  "cIniWrite=iniWrite\r\ncInitial=Initial\r\ncTIniFileMine=TIniFileMine\r\ncSuper=Super\r\n")

set(TAMSEL_EXAMPLES
  examples/sample.txt examples/sample.pas examples/sample_demo.pas
  examples/appoptions.txt examples/appoptions.pas examples/appoptions_demo.pas
  examples/inictrl.txt examples/inictrl.pas examples/inictrl_demo.pas
  examples/chain.txt examples/chain.pas examples/chain_demo.pas)
list(TRANSFORM TAMSEL_EXAMPLES PREPEND ${CMAKE_SOURCE_DIR}/)

if(WIN32)
  install(TARGETS Tamsel RUNTIME DESTINATION .)
  install(FILES ${TAMSEL_DEFAULT_SETTINGS} ${TAMSEL_MANUAL_SJIS} ${TAMSEL_MANUAL_UTF8}
                ${CMAKE_SOURCE_DIR}/runtime/Tamsel_common.pas DESTINATION .)
  install(FILES ${TAMSEL_EXAMPLES} DESTINATION examples)
else()
  set(TAMSEL_LIBDIR lib/tamsel)
  set(TAMSEL_DOCDIR share/doc/tamsel)
  install(TARGETS Tamsel RUNTIME DESTINATION ${TAMSEL_LIBDIR})
  install(FILES ${TAMSEL_DEFAULT_SETTINGS} DESTINATION ${TAMSEL_LIBDIR}
          PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  # A relative link, so the installed tree can move with its prefix.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install/bin)
  file(CREATE_LINK ../${TAMSEL_LIBDIR}/Tamsel ${CMAKE_BINARY_DIR}/install/bin/Tamsel SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/install/bin/Tamsel DESTINATION bin)
  install(FILES ${TAMSEL_MANUAL_SJIS} ${TAMSEL_MANUAL_UTF8} ${CMAKE_SOURCE_DIR}/README.md
                ${CMAKE_SOURCE_DIR}/runtime/Tamsel_common.pas DESTINATION ${TAMSEL_DOCDIR})
  install(FILES ${TAMSEL_EXAMPLES} DESTINATION ${TAMSEL_DOCDIR}/examples)
endif()

set(CPACK_PACKAGE_NAME tamsel)
set(CPACK_PACKAGE_VENDOR "The Tamsel developers")
set(CPACK_PACKAGE_CONTACT "The Tamsel developers <tamsel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Generates Delphi classes with INI persistence from a small definition file")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tamsel-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1 (>= 3.0)")
endif()
include(CPack)

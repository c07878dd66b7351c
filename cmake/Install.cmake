# Installation and packages.
#
# Linux: <prefix>/lib/tamsel/ holds the executable and a link to its complete
# default settings file (so an installed Tamsel never needs to write it),
# which is configuration: /etc/tamsel/Tamsel.ini for the prefix /usr (the
# Debian package), <prefix>/etc/tamsel/Tamsel.ini otherwise. The commands
# <prefix>/bin/Tamsel and bin/tamsel are links to the executable; the runtime
# unit goes to share/tamsel/ with its Lazarus package in share/tamsel/lazarus/,
# the manual page to share/man/man1/, and the Japanese manual, licence,
# changelog and examples to share/doc/tamsel/.
# Windows: one folder with Tamsel.exe, Tamsel.ini, the manual, the runtime
# unit, its Lazarus package in the folder lazarus, the licence, the changelog
# and the examples.

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

# The manual page, compressed as Debian wants it (no name or time stamp in
# the gzip header, so that the same page gives the same bytes).
set(TAMSEL_CONTACT "Tamsel developers <tamsel@users.noreply.github.com>")
if(NOT WIN32)
  find_program(TAMSEL_GZIP gzip REQUIRED)
  set(TAMSEL_MANPAGE ${CMAKE_BINARY_DIR}/install/Tamsel.1.gz)
  add_custom_command(
    OUTPUT ${TAMSEL_MANPAGE}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/Tamsel.1 ${CMAKE_BINARY_DIR}/install/Tamsel.1
    COMMAND ${TAMSEL_GZIP} -9nf ${CMAKE_BINARY_DIR}/install/Tamsel.1
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/Tamsel.1
    COMMENT "Compressing the manual page Tamsel.1"
    VERBATIM)
  # The Debian changelog, made from CHANGELOG.md.
  set(TAMSEL_CHANGELOG ${CMAKE_BINARY_DIR}/install/changelog)
  add_custom_command(
    OUTPUT ${TAMSEL_CHANGELOG}.gz
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/CHANGELOG.md -DOUTPUT=${TAMSEL_CHANGELOG}
            -DPACKAGE=tamsel -DVERSION=${PROJECT_VERSION} "-DMAINTAINER=${TAMSEL_CONTACT}"
            -P ${CMAKE_SOURCE_DIR}/cmake/debian_changelog.cmake
    COMMAND ${TAMSEL_GZIP} -9nf ${TAMSEL_CHANGELOG}
    DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/cmake/debian_changelog.cmake
    COMMENT "Writing the Debian changelog"
    VERBATIM)
  add_custom_target(package_docs ALL DEPENDS ${TAMSEL_MANPAGE} ${TAMSEL_CHANGELOG}.gz)

  # The Debian copyright file: the licence of LICENSE in the machine-readable
  # format.
  file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
  string(REGEX REPLACE "^.*\nCopyright \\(c\\) ([^\n]*)\n\n" "" license_text "${license}")
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${license}")
  set(copyright_holder "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "\n\n" "\n.\n" license_text "${license_text}")
  string(REGEX REPLACE "\n$" "" license_text "${license_text}")
  string(REPLACE "\n" "\n " license_text "${license_text}")
  set(TAMSEL_COPYRIGHT ${CMAKE_BINARY_DIR}/install/copyright)
  file(WRITE ${TAMSEL_COPYRIGHT}
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: Tamsel\n"
    "Upstream-Contact: ${TAMSEL_CONTACT}\n"
    "\n"
    "Files: *\n"
    "Copyright: ${copyright_holder}\n"
    "License: Expat\n"
    "\n"
    "License: Expat\n"
    " ${license_text}\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
endif()

set(TAMSEL_EXAMPLES
  examples/sample.txt examples/sample.pas examples/sample_demo.pas
  examples/appoptions.txt examples/appoptions.pas examples/appoptions_demo.pas
  examples/inictrl.txt examples/inictrl.pas examples/inictrl_demo.pas
  examples/chain.txt examples/chain.pas examples/chain_demo.pas)
list(TRANSFORM TAMSEL_EXAMPLES PREPEND ${CMAKE_SOURCE_DIR}/)

# The Lazarus package names its unit as ../Tamsel_common.pas: it is installed
# in lazarus/ beside the runtime unit, as in the source tree.
set(TAMSEL_LAZARUS_PACKAGE
  ${CMAKE_SOURCE_DIR}/runtime/lazarus/tamsel_runtime.lpk
  ${CMAKE_SOURCE_DIR}/runtime/lazarus/tamsel_runtime.pas)

if(WIN32)
  install(TARGETS Tamsel RUNTIME DESTINATION .)
  install(FILES ${TAMSEL_DEFAULT_SETTINGS} ${TAMSEL_MANUAL_SJIS} ${TAMSEL_MANUAL_UTF8}
                ${CMAKE_SOURCE_DIR}/runtime/Tamsel_common.pas ${CMAKE_SOURCE_DIR}/CHANGELOG.md
          DESTINATION .)
  install(FILES ${TAMSEL_LAZARUS_PACKAGE} DESTINATION lazarus)
  install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
  install(FILES ${TAMSEL_EXAMPLES} DESTINATION examples)
else()
  set(TAMSEL_LIBDIR lib/tamsel)
  set(TAMSEL_DOCDIR share/doc/tamsel)
  install(TARGETS Tamsel RUNTIME DESTINATION ${TAMSEL_LIBDIR})
  # Relative links, so the installed tree can move with its prefix. Both
  # command names lead to the one executable, whose own file name is what
  # the banner and the settings file are named after.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install/bin ${CMAKE_BINARY_DIR}/install/man)
  file(CREATE_LINK ../${TAMSEL_LIBDIR}/Tamsel ${CMAKE_BINARY_DIR}/install/bin/Tamsel SYMBOLIC)
  file(CREATE_LINK ../${TAMSEL_LIBDIR}/Tamsel ${CMAKE_BINARY_DIR}/install/bin/tamsel SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/install/bin/Tamsel ${CMAKE_BINARY_DIR}/install/bin/tamsel
          DESTINATION bin)
  file(CREATE_LINK Tamsel.1.gz ${CMAKE_BINARY_DIR}/install/man/tamsel.1.gz SYMBOLIC)
  install(FILES ${TAMSEL_MANPAGE} ${CMAKE_BINARY_DIR}/install/man/tamsel.1.gz
          DESTINATION share/man/man1)

  # The settings file is configuration, where the administrator looks for
  # it and the package manager keeps it over upgrades; Tamsel finds it
  # through a link beside the executable. Which folder that is depends on
  # the prefix given at installation time, so it is decided then: /etc for
  # /usr, as the file system hierarchy has it, <prefix>/etc otherwise.
  install(CODE "set(tamsel_default_settings \"${TAMSEL_DEFAULT_SETTINGS}\")")
  install(CODE [[
    string(REGEX REPLACE "/+$" "" tamsel_prefix "${CMAKE_INSTALL_PREFIX}")
    if(tamsel_prefix STREQUAL "/usr")
      set(tamsel_etc /etc/tamsel)
      set(tamsel_link /etc/tamsel/Tamsel.ini)
    else()
      set(tamsel_etc "${tamsel_prefix}/etc/tamsel")
      set(tamsel_link ../../etc/tamsel/Tamsel.ini)
    endif()
    file(INSTALL "${tamsel_default_settings}" DESTINATION "${tamsel_etc}"
         PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    message(STATUS "Installing: $ENV{DESTDIR}${tamsel_prefix}/lib/tamsel/Tamsel.ini -> ${tamsel_link}")
    file(CREATE_LINK "${tamsel_link}" "$ENV{DESTDIR}${tamsel_prefix}/lib/tamsel/Tamsel.ini" SYMBOLIC)
  ]])

  install(FILES ${CMAKE_SOURCE_DIR}/runtime/Tamsel_common.pas DESTINATION share/tamsel)
  install(FILES ${TAMSEL_LAZARUS_PACKAGE} DESTINATION share/tamsel/lazarus)
  install(FILES ${TAMSEL_MANUAL_SJIS} ${TAMSEL_MANUAL_UTF8} ${CMAKE_SOURCE_DIR}/README.md
                ${TAMSEL_COPYRIGHT} ${TAMSEL_CHANGELOG}.gz DESTINATION ${TAMSEL_DOCDIR})
  install(FILES ${TAMSEL_EXAMPLES} DESTINATION ${TAMSEL_DOCDIR}/examples)
  # lintian's executable-in-usr-lib (an experimental tag): the executable
  # lives in lib/tamsel/ on purpose. Tamsel reads its settings from the file
  # beside its own executable, and that file, configuration, must not stand
  # in bin/; the commands in bin/ are links to it.
  file(WRITE ${CMAKE_BINARY_DIR}/install/lintian-overrides
       "# The settings file must stand beside the executable, so it is not in /usr/bin.\n"
       "tamsel: executable-in-usr-lib [usr/lib/tamsel/Tamsel]\n")
  install(FILES ${CMAKE_BINARY_DIR}/install/lintian-overrides DESTINATION share/lintian/overrides
          RENAME tamsel)
endif()

set(CPACK_PACKAGE_NAME tamsel)
set(CPACK_PACKAGE_VENDOR "The Tamsel developers")
set(CPACK_PACKAGE_CONTACT "${TAMSEL_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Generates Delphi classes with INI persistence from a small definition file")
set(CPACK_PACKAGE_DESCRIPTION "Tamsel reads a small text file that lists classes, the class each one
inherits from, and their fields with a type and an initial value, and
writes beside it a complete Delphi (Object Pascal) unit: private fields,
initialisers, setters and getters, a constructor and a destructor. One
class, TIniter, loads the fields of the classes before it from an INI file
when it is created and stores them when it is destroyed.

The generated units compile with Delphi and with Free Pascal in Delphi
mode; the package holds the runtime unit they use, examples, and a manual
in Japanese.")
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
  # The C++ runtime is linked in (see CMakeLists.txt): the C library is all
  # the executable needs, in the version whose symbols it uses, which
  # dpkg-shlibdeps reads off the executable (Debian 12's, where it is absent).
  find_program(TAMSEL_SHLIBDEPS dpkg-shlibdeps)
  if(TAMSEL_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.36)")
  endif()
  # dpkg keeps an administrator's edits of the settings over upgrades.
  file(WRITE ${CMAKE_BINARY_DIR}/install/conffiles "/etc/tamsel/Tamsel.ini\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/install/conffiles)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
include(CPack)

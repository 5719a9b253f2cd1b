# The Debian package (packaging/deb builds it): the game in /usr/games, the manual page and the
# changelog gzipped, the copyright in Debian's format with the licence from LICENSE, and CPack's
# DEB generator with the dependencies that dpkg-shlibdeps reads off the linked libraries.
set(doc ${CMAKE_INSTALL_DATADIR}/doc/dravel2)

# gzip -n: no name or time in the header, so the package's bytes depend on the sources alone.
foreach(from ${CMAKE_CURRENT_BINARY_DIR}/dravel2.6 ${CMAKE_CURRENT_SOURCE_DIR}/changelog)
  get_filename_component(name ${from} NAME)
  add_custom_command(OUTPUT gz/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${from} gz/${name}
    COMMAND gzip -9nf gz/${name}
    DEPENDS ${from}
    VERBATIM)
  list(APPEND dravel2_gzipped ${CMAKE_CURRENT_BINARY_DIR}/gz/${name}.gz)
endforeach()
add_custom_target(debian_docs ALL DEPENDS ${dravel2_gzipped})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/gz/dravel2.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/gz/changelog.gz DESTINATION ${doc})

# Machine-readable copyright: the licence's text indented one space, blank lines as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^MIT License\n\nCopyright [^\n]*\n\n" "" licence "${licence}")
string(REGEX REPLACE "\n$" "" licence "${licence}")
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " licence " ${licence}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Dravel2

Files: *
Copyright: 2026 the Dravel2 developers
License: Expat
${licence}
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dravel2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Dravel2 developers <developers@dravel2.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mine-sweeping puzzle game with rising rows")
# The extended description; CPack puts the summary above it and indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Dravel2 is a small, fast desktop puzzle game. Every row of the board holds
the same number of hidden mines; idle rows at the top become active one at a
time on a clock that speeds up with the level, and the game is lost when no
idle row is left. A full row is removed for a point; an opened mine costs two
rows. A built-in solver floods zeros after every move and deduces on demand.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

# A Debian package of the installed files: `cpack -G DEB` in a build folder.
# Name, version, summary and home page come from the project itself.
set(CPACK_PACKAGE_NAME tinctara)
set(CPACK_PACKAGE_DESCRIPTION "${TINCTARA_LONG_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tinctara developers <tinctara@example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries' packages are read off the binary; the window font is not
# linked, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Without it the program still runs in a Wayland session, through X11.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

# Debian's own files of every package, also installed by `cmake --install`:
# the copyright in Debian's machine-readable form, made from LICENSE (Debian
# calls the MIT licence "Expat"), and the changelog, compressed as Debian
# policy asks (-n: no name or time stamp, so a rebuild gives the same bytes).
file(READ "${CMAKE_SOURCE_DIR}/LICENSE" licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${licence}")
set(TINCTARA_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${licence}" "Permission is hereby granted" terms)
string(SUBSTRING "${licence}" ${terms} -1 licence)
string(STRIP "${licence}" licence)
# A paragraph of the form: each line indented, an empty line as " .".
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " TINCTARA_LICENSE_TEXT " ${licence}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/LICENSE")
configure_file(cmake/copyright.in copyright @ONLY)

add_custom_command(OUTPUT changelog.gz
  COMMAND gzip -9n -c "${CMAKE_SOURCE_DIR}/cmake/changelog" > changelog.gz
  DEPENDS cmake/changelog
  COMMENT "Compressing the changelog")
add_custom_target(tinctara_changelog ALL DEPENDS changelog.gz)

include(GNUInstallDirs)
# Named for the package, not the project (GNUInstallDirs' DOCDIR would say
# "Tinctara").
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/tinctara")
install(FILES "${CMAKE_BINARY_DIR}/copyright" "${CMAKE_BINARY_DIR}/changelog.gz" DESTINATION "${doc_dir}")

set(CPACK_GENERATOR DEB)
include(CPack)

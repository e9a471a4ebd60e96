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

set(CPACK_GENERATOR DEB)
include(CPack)

# The Debian package of the desktop program: `cpack -G DEB` in the build tree. It holds what the
# install rules install under /usr: the program, its desktop entry, icons and AppStream metadata,
# the copyright file, the changelog and the manual page. The libraries it links come from
# dpkg-shlibdeps; the fonts its windows are laid out in are loaded by file name at run time, so
# they are named by hand.
set(CPACK_PACKAGE_NAME kelvor)
set(CPACK_PACKAGE_VENDOR "The Kelvor developers")
set(CPACK_PACKAGE_CONTACT "The Kelvor developers <help@kelvor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Solver of the classical transportation problem")
# Debian shows the description as it stands: lines within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [[
Kelvor finds a transport plan of least cost from suppliers to consumers by the
method of potentials, for up to 500 suppliers and 500 consumers. Stocks,
demands and costs are typed, pasted from a spreadsheet or drawn at random; the
plan can be copied back into a spreadsheet.]])
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kelvor.example/")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-liberation2")
include(CPack)

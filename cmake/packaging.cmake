# The Debian package of the programs, the desktop entry and the icon:
#   cmake --build build && (cd build && cpack -G DEB)
# Library dependencies come from the binaries (dpkg-shlibdeps); the packages
# the programs use at run time without linking them are named here: the
# terminal that shows the engine, the fonts, and Qt's own Chinese texts.
set(CPACK_PACKAGE_NAME pfac)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "pfac")
set(CPACK_PACKAGE_CONTACT "pfac developers <pfac@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Polynomial factoring over the rationals, for teaching")
set(CPACK_PACKAGE_DESCRIPTION "pfac factors polynomials with rational coefficients, in one variable or in \
several, over the rationals. A student types the polynomial into a desktop window, starts the factoring engine \
in a terminal window of its own, reads the result there and in the main window, and may print it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xterm, fonts-wqy-microhei, fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_GENERATOR DEB)
include(CPack)

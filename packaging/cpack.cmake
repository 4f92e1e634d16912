# The Debian package (scripts/package, or `cpack -G DEB` in a build folder):
# kvd and kvdtool, the desktop entry, the MIME types, the icon and the user
# manual under /usr. The shared libraries the programs link (Qt, the C++
# runtime and, with the exports, libzip) become run-time dependencies through
# dpkg-shlibdeps; the fonts the program maps its faces to are named here. The
# MIME and desktop databases and the icon cache are brought up to date by the
# file triggers of shared-mime-info, desktop-file-utils and the icon theme, so
# the package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvd)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "static load test analysis for piles, foundations and plates")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "kvd opens the test files of a static load tester (.PTX) and its own\n analysis files (.KVD), shows the per-grade settlement or uplift as tables\n and Q-s, s-lgt and s-lgQ curves, lets the engineer correct readings and\n keep the test's parameters, and maintains the tester's calibration tables.\n Its texts are Chinese. kvdtool does the same work on the command line.")
set(CPACK_PACKAGE_CONTACT "kvd developers <kvd@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "shared-mime-info, desktop-file-utils, hicolor-icon-theme, xdg-utils, qt6-translations-l10n")
# cpack installs what is built; it does not build everything first (the tests
# make a package from a tree where only the programs and the manual are built).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

# A Debian package of what Install.cmake installs, under /usr:
#     cmake --build build --target zavmap && (cd build && cpack -G DEB)
# gives build/zavmap_<version>_amd64.deb. dpkg-shlibdeps finds the libraries the program links
# to; the other dependencies are what it loads or shows at run time without linking to it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zavmap)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "map quiz for memorising place names")
set(CPACK_PACKAGE_DESCRIPTION "\
ZAV地図覚え shows a map with a blinking marker on one place at a time; the
learner types the place name and gets a score and a time. Teachers make
their own question files in the built-in editor from a map bitmap, placing
points and giving each a hint, two accepted answers and a note.

The interface is Japanese. Question files are code page 932 text, so files
made on Windows open unchanged. Quizzes of the prefectures of Japan and of
the countries of the world are included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The install step sees /usr as its prefix (the desktop entry and the link name the installed
# program) and writes below a staging folder through DESTDIR.
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
# Packaging installs what has been built; it does not build the tests and benchmarks first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZAV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZAV_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugins (the program has no window without them), the font its Japanese texts
# are drawn in, the SQLite driver of Qt SQL for the study record, and Qt's Japanese catalogue
# (qtbase_ja.qm) for the texts of Qt's own dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-ipafont-gothic, libqt6sql6-sqlite, qt6-translations-l10n")
# Typing Japanese needs an input method; the README names the one it was tried with.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fcitx5-mozc, fcitx5-frontend-qt6")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Two runs of cpack give the same bytes: the DEB generator stamps the archive's members and every
# file in them with SOURCE_DATE_EPOCH, which is the release's date unless the caller names one.
configure_file("${CMAKE_SOURCE_DIR}/packaging/CPackProject.cmake.in"
               "${CMAKE_BINARY_DIR}/packaging/CPackProject.cmake" @ONLY)
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_BINARY_DIR}/packaging/CPackProject.cmake")

include(CPack)

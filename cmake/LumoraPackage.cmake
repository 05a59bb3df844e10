# The Debian package: `cpack -G DEB` in the build folder makes lumora_<version>_<arch>.deb of what
# `cmake --install` installs. The libraries the program links come from dpkg-shlibdeps; what it
# loads without a link (Qt's SVG and image format plugins) is named here, and so is what the
# desktop needs around it (a notification daemon, Qt's Wayland platform).
set(CPACK_PACKAGE_NAME lumora)
set(CPACK_PACKAGE_VENDOR "Lumora")
set(CPACK_PACKAGE_CONTACT "Lumora <dev@lumora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "a different desktop wallpaper for each day of the week")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumora sits in the notification area, sets today's picture at start-up and within a\n"
    "second of midnight, and reports what it did in short notifications.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "notification-daemon, qt6-wayland")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

# The Debian package: cpack in the build folder (tools/dev package) writes
# skarn-config_<version>_<arch>.deb from what `cmake --install` installs. The
# paths compiled into the program follow CMAKE_INSTALL_PREFIX, so the package
# is built with the prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skarn-config)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_CONTACT "Skarn Config developers <skarn-config@talvorn.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for the TALVORN SKARN MOUSE R410")
# The summary is the synopsis line; CPack indents the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Skarn Config sets the DPI stages, report rate, button assignments, macros,
fire presets, lighting and profiles of the TALVORN SKARN MOUSE R410 USB gaming
mouse, and the desktop's pointer speed, double-click time and wheel lines.
It lives in the notification area; skarnctl calls the same operations from a
command line. A udev rule lets the user at the seat use the mouse without
root.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the executables link, found by dpkg-shlibdeps, and what Qt
# loads at run time: the platform plugins, the QML modules the pages import,
# the SVG image plugin for the artwork and a font for the Chinese texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qml6-module-qtqml, qml6-module-qtqml-models, qml6-module-qtquick, qml6-module-qtquick-window, qml6-module-qtqml-workerscript, qml6-module-qtquick-templates, libqt6svg6, fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/dist/postinst ${CMAKE_SOURCE_DIR}/dist/postrm ${CMAKE_BINARY_DIR}/dist/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# cpack installs what is built; tools/dev package builds only what the
# package holds, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

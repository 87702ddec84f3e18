# Installation and the Debian package. `cmake --install build --prefix P` installs the three
# programs with their desktop entry, metainfo, icons and man pages; `make package` (cpack)
# wraps the same tree in a .deb. The programs carry their data compiled in, so any prefix works.
include(GNUInstallDirs)

# Installing and packing take what is built and never start a build themselves: `make package`
# builds first, and the package test runs cpack on the built tree within its time limit.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# One name for the desktop entry, its icon and the metainfo's launchable.
set(ZYL_DESKTOP_NAME zylmosaics)
set(ZYL_APPSTREAM_ID org.zylmosaics.ZYLMosaics)
set(ZYL_ICON_SIZES 16 24 32 48 64 128 256)
set(ZYL_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
set(ZYL_ICON_DIR ${ZYL_PACKAGING_DIR}/icons/hicolor)
set(ZYL_DESKTOP_FILE ${PROJECT_SOURCE_DIR}/packaging/${ZYL_DESKTOP_NAME}.desktop)
set(ZYL_METAINFO_FILE ${ZYL_PACKAGING_DIR}/${ZYL_APPSTREAM_ID}.metainfo.xml)
set(ZYL_MAN_DIR ${ZYL_PACKAGING_DIR}/man)
set(ZYL_MAN_PAGES zylmosaics zylctl zyl-panel-sim)
add_subdirectory(packaging)

set(ZYL_PACKAGE_MAINTAINER "ZYLMosaics maintainers <maintainers@zylmosaics.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zylmosaics)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZYLMosaics")
set(CPACK_PACKAGE_CONTACT "${ZYL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design the pages of ZYL-1 touch panels and program them")
set(CPACK_PACKAGE_DESCRIPTION
    "ZYLMosaics is the desktop tool for the ZYL-1, a 320 x 240 touch-screen
control panel on a serial port. It reads the panel's layout, edits its
settings, page list and freely designed pages, writes the layout back,
upgrades the firmware and keeps layouts in template and page files.

The package also holds zylctl, the same tool on the command line, and
zyl-panel-sim, a simulated panel on a pseudo-terminal.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZYL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries are found by dpkg-shlibdeps; the fonts the glyph rasteriser asks fontconfig for
# are invisible to it, so they are named here and the computed list is appended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-arphic-uming, fonts-wqy-microhei")

include(CPack)

if(ZYL_BUILD_TESTS)
    add_subdirectory(tests/packaging)
endif()

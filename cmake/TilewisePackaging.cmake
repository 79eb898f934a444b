# `cpack -G DEB` in the build folder makes tilewise_VERSION_ARCH.deb from the install rules. The
# shared libraries the executable links are turned into dependencies by dpkg-shlibdeps, so the
# package asks for exactly the Qt, X11 and other libraries of the build machine's release.
set(CPACK_PACKAGE_NAME tilewise)
set(CPACK_PACKAGE_VENDOR "The Tilewise developers")
set(CPACK_PACKAGE_CONTACT "${TILEWISE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "grid window arranger for X11 desktops")
set(CPACK_PACKAGE_DESCRIPTION
    "Tilewise moves and resizes the windows of other applications onto a grid: from a small "
    "floating panel, directly on the screen, or with the keyboard shortcuts of saved layouts. "
    "It lives in the system tray and has a command line for scripts and key bindings.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${TILEWISE_HOMEPAGE_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries opened only when first used are not linked, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libxi6, libxres1, libxkbcommon-x11-0")
# The status item needs a system tray; the desktop entry and icon reach the menus through the
# desktop's own triggers.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "trayer | stalonetray | tint2")

include(CPack)

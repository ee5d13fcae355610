# `cpack -G DEB` in the build folder: a Debian package of what
# cmake --install lays out, installed under /usr.  dpkg's own triggers of
# shared-mime-info, desktop-file-utils and man-db refresh their databases, so
# the package needs no scripts of its own.

set(CPACK_PACKAGE_NAME lumora)
set(CPACK_PACKAGE_VENDOR "Lumora")
set(CPACK_PACKAGE_CONTACT "Lumora developers <dev@lumora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "palette-animated screen saver with its settings program")
set(CPACK_PACKAGE_DESCRIPTION
    "Up to twelve drawing modules paint abstract pictures in palette-index colours while a
second thread animates the palette underneath, so the whole picture flows in colour.
Every control can follow a fixed value, a random draw, an oscillation or live sound.
Lumora runs full screen, as an xscreensaver hack or on Wayland; its settings program
saves complete displays and shares them as .LUM files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt formats filter reads PNG, GIF, TIFF and WebP through Qt's plug-ins.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver, pulseaudio | pipewire-pulse")

set(CPACK_GENERATOR DEB)
include(CPack)

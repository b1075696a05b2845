# The Debian package, built by scripts/package (cpack -G DEB in the build folder). The shared
# libraries' packages become its Depends through dpkg-shlibdeps (dpkg-dev); the fonts it
# carries come from the font packages at build time and are copies, so those are not needed.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quarin-z17")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "QUARIN Z17 configurator project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "configurator for the QUARIN Z17 keyboard, mouse, mouse pad and headset")
set(CPACK_PACKAGE_DESCRIPTION
  "Remaps keys and mouse buttons, records and edits macros, sets lighting
effects (also driven by the desktop's music through quarin-z17-recorder),
DPI stages and report rates, keeps several profiles per device and sets
the headset's microphone, monitor and equaliser. It runs in the tray,
works without root through a udev rule, and can be scripted with
quarin-z17ctl or over D-Bus. --demo attaches virtual devices.")
set(CPACK_PACKAGE_CONTACT "QUARIN Z17 maintainers <maintainers@quarin-z17.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A plugin, not a linked library: Qt draws the skin's .svg pictures through it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# Not a library: the PulseAudio client reaches PipeWire's pulse server as well.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pipewire-pulse | pulseaudio")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-xdgdesktopportal-platformtheme")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_SOURCE_DIR}/cmake/deb/postinst;${CMAKE_SOURCE_DIR}/cmake/deb/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_OUTPUT_FILE_PREFIX "${CMAKE_BINARY_DIR}")
# Only what the install rules list; the tests and benchmarks stay out.
set(CPACK_STRIP_FILES ON)
include(CPack)

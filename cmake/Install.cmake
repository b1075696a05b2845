# What `cmake --install` puts where (prefix /usr for the package):
#   bin/                                     quarin-z17, quarin-z17ctl, quarin-z17-recorder
#   share/quarin-z17/                        skin/, DefaultData/, Font/ and desktop/ (the
#                                            login entry's template): the program data that
#                                            platform/Paths.cpp looks for beside the program
#   share/applications/quarin-z17.desktop    the menu entry
#   share/icons/hicolor/*/apps/              the icon, as SVG and as PNG in six sizes
#   share/man/man1/                          quarin-z17.1.gz, quarin-z17ctl.1.gz
#   share/dbus-1/services/                   starts the program hidden when a peer calls it
#   lib/udev/rules.d/70-quarin-z17.rules     the user's access to the devices' hidraw nodes
# QUARIN_INSTALL_DATA_SUBDIR (the program data) is set by the top-level CMakeLists.txt.

install(TARGETS quarin-z17 quarin-z17ctl quarin-z17-recorder
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY data/skin data/DefaultData DESTINATION ${QUARIN_INSTALL_DATA_SUBDIR})
if(_quarin_font_files)
  install(FILES ${_quarin_font_files} DESTINATION ${QUARIN_INSTALL_DATA_SUBDIR}/Font)
endif()
install(FILES data/desktop/quarin-z17-autostart.desktop
  DESTINATION ${QUARIN_INSTALL_DATA_SUBDIR}/desktop)

install(FILES data/desktop/quarin-z17.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon: drawn as SVG, rendered to the sizes panels and menus ask for when rsvg-convert
# (librsvg2-bin) is there; desktops scale the SVG otherwise.
set(QUARIN_ICON_SVG "${CMAKE_SOURCE_DIR}/data/desktop/quarin-z17.svg")
set(_quarin_icon_dir "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
install(FILES ${QUARIN_ICON_SVG} DESTINATION ${_quarin_icon_dir}/scalable/apps)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  set(_quarin_icon_pngs "")
  foreach(size 16 32 48 64 128 256)
    set(png "${CMAKE_BINARY_DIR}/icons/${size}x${size}/quarin-z17.png")
    add_custom_command(OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/icons/${size}x${size}"
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o "${png}" "${QUARIN_ICON_SVG}"
      DEPENDS "${QUARIN_ICON_SVG}" VERBATIM)
    list(APPEND _quarin_icon_pngs "${png}")
    install(FILES "${png}" DESTINATION ${_quarin_icon_dir}/${size}x${size}/apps)
  endforeach()
  add_custom_target(quarin_icons ALL DEPENDS ${_quarin_icon_pngs})
else()
  message(WARNING "rsvg-convert not found (librsvg2-bin): only the SVG icon is installed.")
endif()

# The manual pages carry the version.
set(_quarin_man_pages "")
foreach(page quarin-z17.1 quarin-z17ctl.1)
  configure_file(data/man/${page}.in "${CMAKE_BINARY_DIR}/man/${page}" @ONLY)
  add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/man/${page}.gz"
    COMMAND gzip -9nf -k "${CMAKE_BINARY_DIR}/man/${page}"
    DEPENDS "${CMAKE_BINARY_DIR}/man/${page}" VERBATIM)
  list(APPEND _quarin_man_pages "${CMAKE_BINARY_DIR}/man/${page}.gz")
endforeach()
add_custom_target(quarin_man_pages ALL DEPENDS ${_quarin_man_pages})
install(FILES ${_quarin_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The service names the program by its absolute path under the prefix in force when
# installing (CPack installs under /usr whatever the build was configured with), so it is
# written at install time.
set(_quarin_service "${CMAKE_BINARY_DIR}/dbus/org.quarin.Z17Keyboard.service")
install(CODE "
  set(QUARIN_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quarin-z17\")
  configure_file(\"${CMAKE_SOURCE_DIR}/data/desktop/org.quarin.Z17Keyboard.service.in\"
                 \"${_quarin_service}\" @ONLY)")
install(FILES "${_quarin_service}" DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/services)

# udev reads rules from <prefix>/lib/udev/rules.d for the prefixes /usr and /usr/local (never
# the multiarch library folder).
set(QUARIN_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
  "Where the udev rule goes, relative to the install prefix")
install(FILES data/udev/70-quarin-z17.rules DESTINATION ${QUARIN_UDEV_RULES_DIR})

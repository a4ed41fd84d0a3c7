# Installation and the Debian package.
#   cmake --install <build> [--prefix /usr]
#   cpack -G DEB --config <build>/CPackConfig.cmake    (from the build folder: cpack -G DEB)
include(GNUInstallDirs)

# The program finds its update library beside it in the install tree.
set_target_properties(mirel PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

install(TARGETS mirel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS update LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_SKIP)

# With the local profile the package carries the site server, its data files and the
# menu's launcher that starts it; the window keeps its configure-time host table.
if(MIREL_SITES STREQUAL "local" AND TARGET mirel-sites)
  install(TARGETS mirel-sites RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES sites/data/glossary.tsv sites/data/dictionary.txt
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mirel/sites)
  install(FILES resources/sites.conf DESTINATION /etc/mirel)
  configure_file(resources/mirel-launch.in ${CMAKE_CURRENT_BINARY_DIR}/mirel-launch @ONLY)
  install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/mirel-launch DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(MIREL_DESKTOP_EXEC mirel-launch)
else()
  set(MIREL_DESKTOP_EXEC mirel)
endif()
configure_file(resources/mirel.desktop.in ${CMAKE_CURRENT_BINARY_DIR}/mirel.desktop @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/mirel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

foreach(px 16 32 48)
  install(FILES resources/icons/mirel-${px}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${px}x${px}/apps RENAME mirel.png)
endforeach()
# The page files and the window's pictures, for users who want to restyle them; the program
# itself carries them compiled in.
install(FILES resources/Translate.html resources/Line.gif resources/sound.gif
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mirel/web)
install(DIRECTORY resources/pictures/ DESTINATION ${CMAKE_INSTALL_DATADIR}/mirel/pictures)

set(CPACK_PACKAGE_NAME "mirel")
set(CPACK_PACKAGE_VENDOR "Mirel")
set(CPACK_PACKAGE_CONTACT "Mirel developers <dev@mirelsoft.cn>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Mirel translation tool: four online engines and a dictionary")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The web engine's own helper process and the CJK font are needed at run time but are not
# found by library scanning.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6webenginecore6-bin, fonts-noto-cjk, qt6-qpa-plugins")
if(MIREL_SITES STREQUAL "local")
  # Apertium and the language pairs the window offers (the list of scripts/install-deps.sh).
  file(READ ${PROJECT_SOURCE_DIR}/scripts/install-deps.sh MIREL_DEPS_SCRIPT)
  string(REGEX MATCHALL "apertium-[a-z_-]+" MIREL_APERTIUM_PACKAGES "${MIREL_DEPS_SCRIPT}")
  list(REMOVE_DUPLICATES MIREL_APERTIUM_PACKAGES)
  list(JOIN MIREL_APERTIUM_PACKAGES ", " MIREL_APERTIUM_DEPENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${MIREL_APERTIUM_DEPENDS}")
  # OpenCC converts 简↔繁; its dictionaries are data the library scan does not find.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libopencc1.1, libopencc-data")
  # A person's edits of the settings file survive upgrades.
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/deb/conffiles "/etc/mirel/sites.conf\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/deb/conffiles)
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)

# Installation and the Debian package.
#   cmake --install <build> [--prefix /usr]
#   bash scripts/package.sh    (the package, built with Debian's hardening flags)
include(GNUInstallDirs)

# The update library is the program's own: it lives in a private folder, found through the
# program's RUNPATH (still linked at load time), so it needs no ldconfig and no shlibs (CPack
# calls ldconfig for any library whose folder's parent is /usr/lib, so the private folder sits
# in the multiarch one). The window also takes that folder as the sign of an installed copy.
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(MIREL_PRIVATE_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/mirel)
else()
  set(MIREL_PRIVATE_LIBDIR lib/mirel)
endif()
target_compile_definitions(mirel PRIVATE MIREL_PRIVATE_LIBDIR="${MIREL_PRIVATE_LIBDIR}")
set_target_properties(mirel PROPERTIES INSTALL_RPATH "$ORIGIN/../${MIREL_PRIVATE_LIBDIR}")

install(TARGETS mirel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS update LIBRARY DESTINATION ${MIREL_PRIVATE_LIBDIR} NAMELINK_SKIP)

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

foreach(px 16 32 48 64 128 256)
  install(FILES resources/icons/mirel-${px}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${px}x${px}/apps RENAME mirel.png)
endforeach()

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n: no name, no
# time, the same bytes on every build); the copyright file as it stands.
set(MIREL_MAN_PAGES mirel.1)
if(MIREL_SITES STREQUAL "local" AND TARGET mirel-sites)
  list(APPEND MIREL_MAN_PAGES mirel-sites.1 mirel-launch.1)
endif()
set(MIREL_GZIPPED)
foreach(file IN LISTS MIREL_MAN_PAGES ITEMS changelog)
  if(file STREQUAL "changelog")
    set(source ${PROJECT_SOURCE_DIR}/resources/package/changelog)
  else()
    set(source ${PROJECT_SOURCE_DIR}/resources/man/${file})
  endif()
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${file})
  add_custom_command(OUTPUT ${copy}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
                     COMMAND gzip -9nf ${copy}
                     DEPENDS ${source} VERBATIM)
  list(APPEND MIREL_GZIPPED ${copy}.gz)
  if(NOT file STREQUAL "changelog")
    install(FILES ${copy}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
add_custom_target(mirel_gzipped_docs ALL DEPENDS ${MIREL_GZIPPED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/gzipped/changelog.gz resources/package/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/mirel)

set(CPACK_PACKAGE_NAME "mirel")
set(CPACK_PACKAGE_VENDOR "Mirel")
set(CPACK_PACKAGE_CONTACT "Mirel developers <dev@mirelsoft.cn>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "translation window for Chinese-speaking users")
# Read here: CPack's own reading of a description file escapes it for XML.
file(READ ${PROJECT_SOURCE_DIR}/resources/package/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
# Stripped programs and library; no debug package.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
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
  # OpenCC's dictionaries (its library comes through the site server's linking).
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libopencc-data")
  # A person's edits of the settings file survive upgrades.
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/deb/conffiles "/etc/mirel/sites.conf\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/deb/conffiles)
endif()
# The launcher shows why the site server could not start in a dialog of one of these.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, zenity | kdialog | libnotify-bin | x11-utils")
include(CPack)

# What `cmake --install` puts where, and the Debian package made from it
# with `cpack -G DEB` in the build folder. Included at the end of the top
# CMakeLists.txt, once every program target exists.
include(GNUInstallDirs)

# --- Programs -----------------------------------------------------------------

if(TARGET maptesk)
  install(TARGETS maptesk
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          BUNDLE DESTINATION .)
endif()
install(TARGETS maptesk-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# maptesk-cli runs it for "render" from its own folder: the same one.
if(TARGET maptesk-render)
  install(TARGETS maptesk-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# --- The designers' help page ---------------------------------------------------

# The build writes it from res/help/tesk_maptool_readme.htm with the table of
# every command filled in; the template itself is never installed.
install(FILES ${CMAKE_BINARY_DIR}/tesk_maptool_readme.htm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/maptesk)

# --- Desktop integration (freedesktop systems) ------------------------------------

# The menu entry, the .map file type and the icons belong to the editor.
if(TARGET maptesk AND UNIX AND NOT APPLE)
  install(FILES ${PROJECT_SOURCE_DIR}/res/maptesk.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/res/maptesk-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME maptesk.xml)
  foreach(icon IN ITEMS "maptesk.png;64" "maptesk_32.png;32" "maptesk_16.png;16")
    list(GET icon 0 file)
    list(GET icon 1 size)
    install(FILES ${PROJECT_SOURCE_DIR}/res/art/${file}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME maptesk.png)
  endforeach()
endif()

# --- Package --------------------------------------------------------------------

set(CPACK_PACKAGE_NAME maptesk)
set(CPACK_PACKAGE_VENDOR "MapTesk developers")
set(CPACK_PACKAGE_CONTACT "MapTesk developers <maptesk@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hex map editor for the scenarios of Norvane (Tesk)")
# One line of the package's long description each (CPack indents them).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "The Tesk Map Tool opens the .MAP files of the strategy game Norvane,"
       "shows each map's picture with a hex grid over it and sets the terrain,"
       "roads and name of every hex. It writes the .MAP file and the names"
       "text file back for the game, creates maps on BMP, S16 or SHP pictures"
       "and exports pictures as BMP or S16 tiles. maptesk-cli runs the same"
       "operations without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR DEB)
endif()

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The dependencies are the packages of the libraries the programs link,
# found by dpkg-shlibdeps (package dpkg-dev). Qt's X11 and offscreen platform
# plugins come with libqt6gui6, which the editor and maptesk-render link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)

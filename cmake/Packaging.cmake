# What `cmake --install` puts where, and the Debian package built from it by `cpack -G DEB`
# in the build folder.

set(desktop "${PROJECT_SOURCE_DIR}/data/desktop")
install(FILES data/leicht.brd data/mittel.brd data/schwer.brd data/extrem.brd data/Kalvix.chm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tessaro)
install(FILES ${desktop}/tessaro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/io.github.tessaro.Tessaro.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop}/tessaro.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48)
  install(FILES ${desktop}/icons/tessaro-${size}.png RENAME tessaro.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages are installed compressed, without a time stamp in the gzip header. Made at configure
# time, so packaging needs nothing built but the game.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/tessaro.6)
execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/tessaro.6
                OUTPUT_FILE ${PROJECT_BINARY_DIR}/tessaro.6.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/tessaro.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# cpack (and make install) install what is built instead of first building every test and benchmark;
# the package needs only the game: cmake --build build --target tessaro && cd build && cpack -G DEB
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tessaro developers <tessaro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sudoku X game with both diagonals (German user interface)")
set(CPACK_PACKAGE_DESCRIPTION "\
Every row, column, 3x3 box and both main diagonals of the 9x9 board hold the numbers 1 to 9 once. \
Four levels, mouse or keyboard entry, candidate notes, a clock and a hall of fame; boards can be \
solved, restarted, typed in, saved, loaded and printed.")
# The game finds its shipped files beside the binary (../share/tessaro), so the package prefix
# need not match the build's install prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared libraries (Qt, chmlib, the C++ runtime) come from dpkg-shlibdeps; Qt's window-system
# plugins and the Arial-compatible font are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
# Without Qt's Wayland plugin the game runs through Xwayland on Wayland desktops.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)

if(TESSARO_BUILD_TESTS AND GTest_FOUND)
  add_test(NAME Package.DebContents
           COMMAND ${PROJECT_SOURCE_DIR}/tests/package/check-package.sh ${PROJECT_BINARY_DIR})
endif()

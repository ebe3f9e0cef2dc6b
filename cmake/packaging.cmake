# Debian package through CPack: `cpack -G DEB` in a build folder. The shared-library
# dependencies are computed by dpkg-shlibdeps from the installed programs; only what Qt
# loads as plugins at run time (which no linker records) is named by hand.
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/packaging-windows.cmake)
    return()
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME huddlex)
set(CPACK_PACKAGE_VENDOR "Huddlex")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Huddlex runs beside the football simulation FBPro 97/98 during a game in which game\
 plans and plays are sent to your copy of the game. It captures every transferred plan and\
 play, identifies each captured play by comparing its bytes with the play files on your disk,\
 and rewrites the game's play log with the names of the plays that were run.")
set(CPACK_PACKAGE_CONTACT "Huddlex maintainers <huddlex@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Everything the project installs; the help file is built by the install step's build.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a platform plugin (xcb lives in qt6-qpa-plugins); icons and help are
# read from PNGs and a resource file, which Qt Core and Gui handle themselves.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")
include(CPack)

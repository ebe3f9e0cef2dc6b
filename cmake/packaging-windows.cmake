# Windows packages through CPack, both from the same installed tree: a zip that runs from
# wherever it is unpacked (Huddlex-<version>-win64.zip) and an NSIS installer
# (Huddlex-<version>-win64.exe) with a Start-menu shortcut, an uninstaller and a silent mode
# (/S) that installs under Program Files. The installer is 64-bit (cmake/nsis holds the
# project's copy of CPack's NSIS template with `Target amd64-unicode`), so a 64-bit Windows,
# or Wine without its 32-bit part, can start it.
install(FILES ${HUDDLEX_QT_DLLS} ${HUDDLEX_RUNTIME_DLLS} DESTINATION .)
install(FILES ${HUDDLEX_QT_PLATFORM_PLUGINS} DESTINATION platforms)
install(FILES ${HUDDLEX_QT_STYLE_PLUGINS} DESTINATION styles)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Huddlex)
set(CPACK_PACKAGE_VENDOR Huddlex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME Huddlex-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Huddlex)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Huddlex)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_EXECUTABLES huddlex Huddlex)

list(APPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Huddlex)
set(CPACK_NSIS_DISPLAY_NAME "Huddlex ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${HUDDLEX_ICO})
set(CPACK_NSIS_MUI_UNIICON ${HUDDLEX_ICO})
set(CPACK_NSIS_INSTALLED_ICON_NAME huddlex.exe)
# The project ships no licence text; CPack's placeholder would only confuse.
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
include(CPack)

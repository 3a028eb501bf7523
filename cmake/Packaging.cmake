# What `cmake --install` puts on a machine, and so what the Debian package (debian/) holds; the
# package adds the licence terms and the changes itself.
include(GNUInstallDirs)

# The name the desktop knows the program by: desktop entry, AppStream id and icon name alike.
# src/shell/applicationidentity.cpp gives the running program the same name.
set(KESTRIGAN_APP_ID org.kestrigan.Kestrigan)
set(KESTRIGAN_DATA_DIR ${PROJECT_SOURCE_DIR}/data)

install(TARGETS kestrigan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The code editor library, private to the program (it loads it from here, relative to itself).
install(TARGETS kestrigan_codeeditor LIBRARY DESTINATION ${KESTRIGAN_CODE_EDITOR_DIR})
install(FILES ${KESTRIGAN_DATA_DIR}/${KESTRIGAN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KESTRIGAN_DATA_DIR}/${KESTRIGAN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The PNG sizes are checked in beside the SVG (scripts/render-icons.sh), so a build needs no renderer.
install(DIRECTORY ${KESTRIGAN_DATA_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Debian ships manual pages compressed; -n keeps the name and time out so that builds are repeatable.
set(KESTRIGAN_MAN_PAGE ${PROJECT_BINARY_DIR}/kestrigan.1.gz)
add_custom_command(OUTPUT ${KESTRIGAN_MAN_PAGE}
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${KESTRIGAN_DATA_DIR}/kestrigan.1 ${KESTRIGAN_MAN_PAGE}
    DEPENDS ${KESTRIGAN_DATA_DIR}/kestrigan.1 VERBATIM)
add_custom_target(kestrigan_man_page ALL DEPENDS ${KESTRIGAN_MAN_PAGE})
install(FILES ${KESTRIGAN_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

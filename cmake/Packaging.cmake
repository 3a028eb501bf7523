# What `cmake --install` puts on a machine, and the Debian package that CPack builds from it.
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

# The licence terms and the changes, in the package's own folder and in the forms Debian asks for: a
# machine-readable copyright file as it is, the changelog compressed like the manual page. The folder
# is named after the package, not the project (CMAKE_INSTALL_DOCDIR would say "Kestrigan").
set(KESTRIGAN_CHANGELOG ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${KESTRIGAN_CHANGELOG}
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/debian/changelog ${KESTRIGAN_CHANGELOG}
    DEPENDS ${PROJECT_SOURCE_DIR}/debian/changelog VERBATIM)
add_custom_target(kestrigan_changelog ALL DEPENDS ${KESTRIGAN_CHANGELOG})
set(KESTRIGAN_PACKAGE_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/kestrigan)
install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright ${KESTRIGAN_CHANGELOG} DESTINATION ${KESTRIGAN_PACKAGE_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrigan)
# All four parts: CPack would otherwise drop the last one, which the program shows as its version.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kestrigan authors")
set(CPACK_PACKAGE_CONTACT "The Kestrigan authors <maintainers@kestrigan.org>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "visual window designer for Python 3 Tkinter programs")
# CPack puts the summary on the Description line itself; this is the text below it, each line within
# the 80 columns that Debian allows once CPack has indented it by one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kestrigan draws labels, entry fields, buttons, radio buttons and check
buttons onto a design window, moves and sizes them with the mouse and edits
their caption, position, size and font in a property grid. It then writes the
Python source that builds the same window with Tkinter, ready to copy. The
interface is Chinese.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The libraries come from the built binary (dpkg-shlibdeps); what it finds only at run time is added
# here: a CJK font for the Chinese interface, which fontconfig offers for the faces the design asks for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei")
# The designer runs no Python itself; the programs it writes need Tkinter.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS python3-tk)
include(CPack)

# Installation after the file-system hierarchy. The program looks for its help
# file beside its executable (the application folder), so the executable lives
# in a folder of its own under lib/, with a link from bin/; the help file lives
# under share/ with a link to it in that folder.
set(GLIMPA_APP_DIR lib/glimpa)

install(TARGETS glimpa RUNTIME DESTINATION ${GLIMPA_APP_DIR})
install(FILES resources/help/HELPFILE.HLP DESTINATION share/glimpa)
install(FILES resources/${GLIMPA_APP_ID}.desktop DESTINATION share/applications)
configure_file(resources/${GLIMPA_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${GLIMPA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${GLIMPA_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES resources/${GLIMPA_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/links)
file(CREATE_LINK ../${GLIMPA_APP_DIR}/glimpa ${CMAKE_BINARY_DIR}/links/glimpa SYMBOLIC)
file(CREATE_LINK ../../share/glimpa/HELPFILE.HLP ${CMAKE_BINARY_DIR}/links/HELPFILE.HLP SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/links/glimpa DESTINATION bin)
install(FILES ${CMAKE_BINARY_DIR}/links/HELPFILE.HLP DESTINATION ${GLIMPA_APP_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimpa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "GLIMPA developers <glimpa@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Image viewer: gather pictures into a lineup and page through them")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugins and the JPEG and GIF readers are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6gui6")
# A Wayland session without an X server beside it needs Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)

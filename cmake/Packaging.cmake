# Desktop integration and the Debian package.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/dornal-test.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/dornal-test.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

set(CPACK_PACKAGE_NAME "dornal-test")
set(CPACK_PACKAGE_VENDOR "Dornal test bench developers")
set(CPACK_PACKAGE_CONTACT "Dornal test bench developers <dornal-test@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Operator's test bench for the Dornal magnetic stripe card reader/writer")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The shared libraries the two programs link, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)

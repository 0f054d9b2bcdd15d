# Desktop integration and the Debian package.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/dornal-test.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/icon ${PROJECT_BINARY_DIR}/tools/icon)

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
# The window needs a platform plugin (X11 or Wayland), which no library link names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)

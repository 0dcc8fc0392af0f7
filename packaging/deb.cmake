# The Debian package: both programs, the desktop entry with its icon, and the
# libraries they need. Build it with cpack in the build directory.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvane.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR Corvane)
set(CPACK_PACKAGE_CONTACT "Corvane maintainers <maintainers@users.noreply.c-seed-575f95db.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Self-assessment of body constitution in terms of traditional Chinese medicine")
set(CPACK_PACKAGE_DESCRIPTION
    "The user ticks symptoms from a fixed catalogue of 79, picks a personality type
and gets a one-page report with a diagnosis, diet advice and personality
advice that can be printed. corvane-eval runs the same evaluation without
windows, from the command line or over JSON Lines.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps finds the shared libraries both programs link; Qt loads its
# platform plugins at run time, which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei | fonts-arphic-uming, cups-client")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)

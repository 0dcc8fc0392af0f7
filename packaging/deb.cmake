# The Debian package: both programs with their manual pages and shell
# completions, the desktop entries of the questionnaire and of the batch
# window with their icon, the AppStream metadata, the
# copyright file, the changelog and the libraries they need. Build it with cpack in the build directory.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvane.desktop ${CMAKE_CURRENT_LIST_DIR}/corvane-batch.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvane.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.corvane.corvane.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Shell completions of both programs, where bash-completion and zsh look.
foreach(program corvane corvane-eval)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/completions/${program}.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${program})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/completions/_${program}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
endforeach()

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
# platform plugins and the program Qt's Chinese translations at run time,
# which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# No window or page shows a word without a Chinese font: the three faces are
# needed. fonts-hanazono draws the rare characters of names (CJK Extension A
# and B) the three lack; cups-client prints the report.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-wqy-zenhei | fonts-noto-cjk, fonts-arphic-ukai, fonts-arphic-uming")
# libc-l10n gives the system's reasons (a full disk, a folder that cannot be
# written) in the user's language, as the programs' own messages are.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-hanazono, cups-client, libc-l10n")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)

# The copyright file in Debian's machine-readable format, with the copyright
# line and the license text taken from LICENSE.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE corvane_license)
if(NOT corvane_license MATCHES "Copyright \\(c\\) ([^\n]+)\n")
  message(FATAL_ERROR "LICENSE has no line 'Copyright (c) YEAR HOLDER'")
endif()
set(CORVANE_COPYRIGHT ${CMAKE_MATCH_1})
# The text after that line, each line indented by one space, each empty line
# written as " .".
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]+\n+" "" corvane_license "${corvane_license}")
string(STRIP "${corvane_license}" corvane_license)
string(REGEX REPLACE "\n\n+" "\n\n" corvane_license "${corvane_license}")
string(REPLACE "\n" "\n " corvane_license " ${corvane_license}")
string(REPLACE "\n \n" "\n .\n" CORVANE_LICENSE_TEXT "${corvane_license}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${CMAKE_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A native package, so the changelog is changelog.gz; compressed without name
# or time stamp, so that the same source gives the same file.
find_program(CORVANE_GZIP gzip REQUIRED)
set(corvane_changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
add_custom_command(
  OUTPUT ${corvane_changelog}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/changelog ${corvane_changelog}
  COMMAND ${CORVANE_GZIP} -9nf ${corvane_changelog}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
  VERBATIM)
add_custom_target(corvane_changelog ALL DEPENDS ${corvane_changelog}.gz)
install(FILES ${corvane_changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(${CMAKE_CURRENT_LIST_DIR}/manpages.cmake)
corvane_add_manpage(corvane-eval "evaluate a TCM body-constitution self-assessment"
                    "评估一次中医体质自测" INCLUDE ${CMAKE_CURRENT_LIST_DIR}/corvane-eval.h2m)
corvane_add_manpage(corvane "self-assess a TCM body constitution in a window"
                    "在窗口中进行中医体质自测")

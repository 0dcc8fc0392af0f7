# The program folder of the Windows build, as `cmake --install` lays it out and
# the installer (packaging/windows/make-installer.sh) takes it: the programs,
# the Qt and mingw runtime DLLs they load, Qt's windows platform and style
# plugins, Qt's Chinese translations and qt.conf, which tells Qt where they are.

# Qt's DLLs are those of the Qt libraries the program links. The compiler's
# runtime DLLs are found by reading the programs' imports with mingw's objdump;
# Windows' own are left out. (CMake reads the imported names in lower case, so
# it cannot find Qt's DLLs by them on a case-sensitive file system.)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${CMAKE_OBJDUMP})
set(corvane_windows_runtime_folders ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
foreach(dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(found ${found} REALPATH)
  get_filename_component(folder ${found} DIRECTORY)
  list(APPEND corvane_windows_runtime_folders ${folder})
endforeach()
# The tests run the programs of the build under wine, where WINEPATH names the
# same folders (drive Z: is the Linux root); scripts read it from BUILD/wine-path.
list(TRANSFORM corvane_windows_runtime_folders PREPEND "Z:" OUTPUT_VARIABLE wine_folders)
string(REPLACE "/" "\\" wine_folders "${wine_folders}")
file(WRITE ${CMAKE_BINARY_DIR}/wine-path "${wine_folders}\n")
install(FILES $<TARGET_RUNTIME_DLLS:corvane> DESTINATION .)
install(RUNTIME_DEPENDENCY_SET corvane_runtime
        PRE_INCLUDE_REGEXES "^lib"
        PRE_EXCLUDE_REGEXES ".*"
        DIRECTORIES ${corvane_windows_runtime_folders}
        DESTINATION .)

install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/qt.conf DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# Qt's own texts (the file dialog, the text fields' menus) in Chinese, from
# Debian's qt6-translations-l10n; the files are the same on every system.
set(qt_translations /usr/share/qt6/translations)
foreach(catalogue qt_zh_CN.qm qtbase_zh_CN.qm)
  if(NOT EXISTS ${qt_translations}/${catalogue})
    message(FATAL_ERROR "${qt_translations}/${catalogue} is missing: install qt6-translations-l10n")
  endif()
  install(FILES ${qt_translations}/${catalogue} DESTINATION translations)
endforeach()

# `cmake --build BUILD --target windows-installer`: the folder in BUILD/Corvane,
# the installer and the zip in BUILD/package.
set(deploy_folder ${CMAKE_BINARY_DIR}/Corvane)
add_custom_target(windows-installer
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${deploy_folder}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${deploy_folder}
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/make-installer.sh ${deploy_folder} ${PROJECT_VERSION}
          ${CMAKE_BINARY_DIR}/package ${CMAKE_STRIP}
  DEPENDS corvane corvane-eval
  VERBATIM)

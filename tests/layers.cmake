# Fails when a file includes a layer its own layer may not use, or a header by
# a path up ("../"), or when a file of a Qt-free layer includes a Qt header.
# Every layer's target puts all of src/ on the include path, so this test is
# what keeps a layer from the headers of those it may not use.
#   cmake -DROOT=<source dir> -P layers.cmake
cmake_minimum_required(VERSION 3.25)
# Each layer with the layers it may include, itself among them.
set(uses_engine engine)
set(uses_sysinfo sysinfo)
set(uses_input engine input)
set(uses_cli engine input cli)
set(uses_gui engine sysinfo gui)
set(uses_app engine sysinfo input gui app)
set(qt_free_layers engine sysinfo input cli)
set(layers engine sysinfo input cli gui app)
list(JOIN layers "|" any_layer)

set(offenders "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE files ${ROOT}/src/${layer}/*.h ${ROOT}/src/${layer}/*.cpp)
  foreach(file IN LISTS files)
    file(RELATIVE_PATH name ${ROOT} ${file})
    # "folder/..." of any folder, and <layer/...>, which finds the same header.
    file(STRINGS ${file} project_includes
         REGEX "^[ \t]*#[ \t]*include[ \t]*(\"[a-z]+|<(${any_layer}))/")
    foreach(include IN LISTS project_includes)
      string(REGEX REPLACE "^[^\"<]*[\"<]([a-z]+)/.*$" "\\1" used "${include}")
      if(NOT used IN_LIST uses_${layer})
        list(JOIN uses_${layer} ", " allowed)
        list(APPEND offenders "${name}: ${include} (${layer} may use ${allowed})")
      endif()
    endforeach()
    file(STRINGS ${file} upward_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
    foreach(include IN LISTS upward_includes)
      list(APPEND offenders "${name}: ${include} (a layer's header is included by its layer's name)")
    endforeach()
    if(layer IN_LIST qt_free_layers)
      file(STRINGS ${file} qt_includes
           REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt[A-Za-z]*/)")
      if(qt_includes)
        list(APPEND offenders "${name}: ${qt_includes} (${layer} uses no Qt)")
      endif()
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " lines)
  message(FATAL_ERROR "Includes across the layers' bounds:\n  ${lines}")
endif()
list(JOIN qt_free_layers ", " qt_free)
message(STATUS "every layer includes only what it may use; ${qt_free} include no Qt header")

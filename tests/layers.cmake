# Fails when a file includes a layer its own layer may not use, or a header by
# a path up ("../"), or when a file of a Qt-free layer includes a Qt header,
# or one of a widget-free layer a Qt Widgets header, or when anything but the
# print layer speaks to CUPS, or anything but the platform layer to the
# standard streams' and the command line's system headers. Every layer's target puts all of src/ on the
# include path, so this test is what keeps a layer from the headers of those
# it may not use.
#   cmake -DROOT=<source dir> -DQT_WIDGETS_HEADERS=<QtWidgets include dir> -P layers.cmake
cmake_minimum_required(VERSION 3.25)
# Each layer with the layers it may include, itself among them.
set(uses_engine engine)
set(uses_platform platform)
set(uses_sysinfo platform sysinfo)
set(uses_language language)
set(uses_input engine language input)
set(uses_cli engine platform language input cli)
set(uses_report engine input report)
set(uses_print engine report print)
set(uses_export engine language input report export)
set(uses_gui engine sysinfo input report print export gui)
set(uses_app engine platform language input report export app)
# The one file of a layer that may use a layer more: the desktop program's
# main opens the windows, while the rest of src/app exports without them.
set(also_uses_app_main.cpp gui)
set(qt_free_layers engine language platform sysinfo input cli)
set(widget_free_layers report print export)
set(cups_layers print)
set(stream_layers platform)
set(layers engine language platform sysinfo input cli report print export gui app)
list(JOIN layers "|" any_layer)

# The headers of Qt Widgets by name (QWidget, QLabel, ...), as they are
# installed; a build without the windows has none to look for.
set(widget_headers "")
if(QT_WIDGETS_HEADERS)
  file(GLOB widget_header_paths RELATIVE ${QT_WIDGETS_HEADERS} ${QT_WIDGETS_HEADERS}/Q*)
  list(FILTER widget_header_paths EXCLUDE REGEX "\\.")
  list(JOIN widget_header_paths "|" widget_headers)
  if(NOT widget_headers)
    message(FATAL_ERROR "no Qt Widgets headers in '${QT_WIDGETS_HEADERS}'")
  endif()
else()
  set(widget_free_layers "")
endif()

# Adds the file's includes of headers whose names start as `header` to the
# offenders when its layer is one of `layer_list`.
macro(refuse_includes layer_list header reason)
  if(layer IN_LIST ${layer_list})
    file(STRINGS ${file} refused REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]${header}")
    if(refused)
      list(APPEND offenders "${name}: ${refused} (${reason})")
    endif()
  endif()
endmacro()

set(offenders "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE files ${ROOT}/src/${layer}/*.h ${ROOT}/src/${layer}/*.cpp)
  foreach(file IN LISTS files)
    file(RELATIVE_PATH name ${ROOT} ${file})
    get_filename_component(base ${file} NAME)
    set(allowed_here ${uses_${layer}} ${also_uses_${layer}_${base}})
    # "folder/..." of any folder, and <layer/...>, which finds the same header.
    file(STRINGS ${file} project_includes
         REGEX "^[ \t]*#[ \t]*include[ \t]*(\"[a-z]+|<(${any_layer}))/")
    foreach(include IN LISTS project_includes)
      string(REGEX REPLACE "^[^\"<]*[\"<]([a-z]+)/.*$" "\\1" used "${include}")
      if(NOT used IN_LIST allowed_here)
        list(JOIN allowed_here ", " allowed)
        list(APPEND offenders "${name}: ${include} (it may use ${allowed})")
      endif()
    endforeach()
    file(STRINGS ${file} upward_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
    foreach(include IN LISTS upward_includes)
      list(APPEND offenders "${name}: ${include} (a layer's header is included by its layer's name)")
    endforeach()
    refuse_includes(qt_free_layers "(Q[A-Za-z]|Qt[A-Za-z]*/)" "${layer} uses no Qt")
    refuse_includes(widget_free_layers "(QtWidgets/|(${widget_headers})[>\"])"
                    "${layer} uses no Qt Widgets")
    if(NOT layer IN_LIST cups_layers)
      refuse_includes(layers "cups/" "only print speaks to CUPS")
    endif()
    if(NOT layer IN_LIST stream_layers)
      refuse_includes(layers "(io|fcntl|unistd|shellapi)\\.h>"
                      "only platform handles the standard streams")
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " lines)
  message(FATAL_ERROR "Includes across the layers' bounds:\n  ${lines}")
endif()
list(JOIN qt_free_layers ", " qt_free)
list(JOIN widget_free_layers ", " widget_free)
message(STATUS "every layer includes only what it may use; ${qt_free} include no Qt header, "
               "${widget_free} no Qt Widgets header")

# How Qt is configured for the Windows build of Corvane: an initial cache for
# CMake (-C), read by scripts/qt-mingw. Qt is built from Debian's own qt6-base
# source with Debian's mingw-w64 compiler; its host tools (moc, rcc, uic) are
# the Linux ones of qt6-base-dev-tools, which must be the same Qt version.
#
# Only what the program, its tests and the windows platform plugin need is
# built: Core, Gui, Widgets, PrintSupport, Test and Concurrent. Any change here
# changes the cache key, so Qt is built again on the next run.

set(CMAKE_BUILD_TYPE Release CACHE STRING "")
set(BUILD_SHARED_LIBS ON CACHE BOOL "")
set(QT_BUILD_EXAMPLES OFF CACHE BOOL "")
set(QT_BUILD_TESTS OFF CACHE BOOL "")
set(QT_BUILD_BENCHMARKS OFF CACHE BOOL "")
set(QT_GENERATE_SBOM OFF CACHE BOOL "")

# The libraries Qt brings in its own source tree, not the Linux ones.
foreach(library zlib png freetype harfbuzz pcre2 doubleconversion)
  set(FEATURE_system_${library} OFF CACHE BOOL "")
endforeach()

# Modules and features the program does not use. OpenGL must be switched off
# as an input too, or "dynamic GL" stays on and the windows plugin does not
# compile; DirectWrite and Direct2D need headers that mingw-w64 lacks for the
# print engine and the windows plugin; Debian's source has no wintab headers
# for tablet events.
set(INPUT_opengl no CACHE STRING "")
foreach(feature sql network dbus opengl dynamicgl vulkan xml jpeg icu zstd
                directwrite directwrite3 direct2d direct2d1_1 tabletevent
                openssl sspi schannel)
  set(FEATURE_${feature} OFF CACHE BOOL "")
endforeach()

# What the program and its tests use.
foreach(feature gui widgets printsupport testlib concurrent accessibility png)
  set(FEATURE_${feature} ON CACHE BOOL "")
endforeach()

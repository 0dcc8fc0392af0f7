include(${CMAKE_CURRENT_LIST_DIR}/../header_only_package.cmake)
corvane_header_only_package(CLI11::CLI11 /usr/include/CLI)

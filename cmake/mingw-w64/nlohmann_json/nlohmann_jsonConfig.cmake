include(${CMAKE_CURRENT_LIST_DIR}/../header_only_package.cmake)
corvane_header_only_package(nlohmann_json::nlohmann_json /usr/include/nlohmann)

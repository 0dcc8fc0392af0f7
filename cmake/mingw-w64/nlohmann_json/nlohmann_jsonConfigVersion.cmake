# The version is the native package's.
include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)

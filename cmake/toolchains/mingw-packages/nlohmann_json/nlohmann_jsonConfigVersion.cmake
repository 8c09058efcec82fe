# The host package's version answers for its headers.
include("/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake" OPTIONAL)

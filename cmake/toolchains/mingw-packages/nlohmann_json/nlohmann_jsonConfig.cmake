include("${CMAKE_CURRENT_LIST_DIR}/../HostHeaders.cmake")
quorrel_host_header_library(nlohmann_json::nlohmann_json nlohmann)

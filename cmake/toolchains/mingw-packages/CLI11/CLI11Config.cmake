include("${CMAKE_CURRENT_LIST_DIR}/../HostHeaders.cmake")
quorrel_host_header_library(CLI11::CLI11 CLI)

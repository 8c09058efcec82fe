# The host package's version answers for its headers.
include("/usr/share/cmake/CLI11/CLI11ConfigVersion.cmake" OPTIONAL)

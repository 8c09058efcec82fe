# What the packages hold beside the programs, and how CPack makes them: a .deb on Linux (DEB), a
# portable zip on Windows (ZIP). scripts/package drives both. The programs' own install rules sit
# beside their targets.
include(GNUInstallDirs)

set(QUORREL_PACKAGE_CONTACT "Quorrel developers <quorrel@example.org>"
    CACHE STRING "The packages' maintainer, name and address")

set(packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
set(CPACK_PACKAGE_NAME quorrel)
set(CPACK_PACKAGE_VENDOR "Quorrel developers")
set(CPACK_PACKAGE_CONTACT "${QUORREL_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skill table viewer for a game client's skills.idx and skills.mul")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    include(WindowsPackage)
elseif(UNIX AND NOT APPLE)
    include(DebianPackage)
endif()
include(CPack)

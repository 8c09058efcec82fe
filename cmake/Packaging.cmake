# What the packages hold beside the programs: on Linux the .deb, made by CPack (DEB); on Windows
# the files of the portable zip and the installer. scripts/package drives both. The programs' own install rules sit
# beside their targets.
include(GNUInstallDirs)

# The maker's name comes from the licence's copyright line, the one place it is written: the
# packages, the version resources and the uninstall entry all name the same maker.
file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" QUORREL_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT QUORREL_COPYRIGHT MATCHES "^Copyright \\(c\\) ([0-9][0-9, -]*) (.+)$")
    message(FATAL_ERROR "LICENSE has no line \"Copyright (c) YEAR NAME\" to take the maker's name from")
endif()
set(QUORREL_COPYRIGHT_YEARS "${CMAKE_MATCH_1}")
set(QUORREL_MAKER "${CMAKE_MATCH_2}")
set(QUORREL_PACKAGE_CONTACT "${QUORREL_MAKER} <quorrel@example.org>"
    CACHE STRING "The packages' maintainer, name and address")

set(packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
set(CPACK_PACKAGE_NAME quorrel)
set(CPACK_PACKAGE_VENDOR "${QUORREL_MAKER}")
set(CPACK_PACKAGE_CONTACT "${QUORREL_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skill table viewer for a game client's skills.idx and skills.mul")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
# The folders the packages hold have the same modes whatever the umask of the one who builds them;
# CPack takes the files' times no later than SOURCE_DATE_EPOCH (scripts/package sets it).
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(ThirdPartyNotices)
if(WIN32)
    include(WindowsPackage)
elseif(UNIX AND NOT APPLE)
    include(DebianPackage)
endif()
include(CPack)

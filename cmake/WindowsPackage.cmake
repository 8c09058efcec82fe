# What the portable zip and the installer hold: the programs side by side with a README and the
# licence in Windows' line ends. The programs are statically linked and write nothing beside
# themselves (quorrel-pack.exe only the files it is given), so the folder can live anywhere.
# scripts/package stages these install rules and zips the folder itself, named after the release
# so that unpacking it makes no mess: CPack's ZIP would store the builder's user and group ids.
set(CMAKE_INSTALL_BINDIR .)

configure_file("${packaging_dir}/windows/README.txt.in" README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file("${PROJECT_SOURCE_DIR}/LICENSE" LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/README.txt" "${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt"
        DESTINATION .)
# Beside it, the notices of the libraries compiled and linked into the programs: the C++ and C
# run-times are linked in statically, so they travel with every program.
if(QUORREL_THIRD_PARTY_NOTICES)
    quorrel_third_party_facts(windows)
    quorrel_notices(text --crlf "${QUORREL_THIRD_PARTY_FACTS}" "${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt")
    install(FILES "${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt" DESTINATION .)
endif()

# The installer's release facts for packaging/windows/quorrel.nsi, which scripts/package builds
# from the same staged files.
file(CONFIGURE OUTPUT release.nsh CONTENT [[
; Written by cmake/WindowsPackage.cmake.
!define VERSION "@PROJECT_VERSION@"
!define MAKER "@QUORREL_MAKER@"
!define COPYRIGHT "@QUORREL_COPYRIGHT@"
]] @ONLY)

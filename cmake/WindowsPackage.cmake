# The portable zip: the programs side by side with a README and the licence in Windows' line
# ends, in one folder named after the release, so that unpacking it makes no mess. The programs
# are statically linked and write nothing beside themselves (quorrel-pack.exe only the files it
# is given), so the folder can live anywhere.
set(CMAKE_INSTALL_BINDIR .)

configure_file("${packaging_dir}/windows/README.txt.in" README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file("${PROJECT_SOURCE_DIR}/LICENSE" LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/README.txt" "${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt"
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "quorrel-${PROJECT_VERSION}-win64")

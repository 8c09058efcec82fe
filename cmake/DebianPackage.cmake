# The .deb: the programs, the desktop entry, the icons, the AppStream metainfo, the man pages, and
# where Debian keeps them the copyright file, the upstream changelog and the package's own Debian
# changelog. Its dependencies are worked out from the programs by dpkg-shlibdeps, so they follow
# whatever Qt the build linked. scripts/package builds it with Debian's hardening flags.
set(linux_dir "${packaging_dir}/linux")
set(app_id io.github.quorrel.Quorrel)
# The package's own revision: a package built again from the same release counts it up.
set(QUORREL_DEBIAN_REVISION 1)

install(FILES "${linux_dir}/${app_id}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
# The screenshots in docs/, as the release's sources hold them on the home page.
string(REPLACE "https://github.com/" "https://raw.githubusercontent.com/" QUORREL_SCREENSHOTS
               "${QUORREL_HOMEPAGE}/v${PROJECT_VERSION}/docs")
configure_file("${linux_dir}/${app_id}.metainfo.xml.in" "${app_id}.metainfo.xml" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/${app_id}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

set(icons_dir "${PROJECT_SOURCE_DIR}/src/ui/icons")
foreach(size 16 32 48 64 128 256)
    install(FILES "${icons_dir}/quorrel-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME quorrel.png)
endforeach()
install(FILES "${icons_dir}/quorrel.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

# Debian wants man pages and changelogs compressed, reproducibly: gzip -n leaves out name and time.
function(quorrel_gzipped source destination)
    get_filename_component(name "${source}" NAME)
    set(compressed "${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name}.gz")
    add_custom_command(OUTPUT "${compressed}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/gzipped"
        COMMAND gzip -9n -c "${source}" > "${compressed}"
        DEPENDS "${source}"
        VERBATIM)
    set_property(GLOBAL APPEND PROPERTY quorrel_gzipped_files "${compressed}")
    install(FILES "${compressed}" DESTINATION "${destination}" ${ARGN})
endfunction()

set(pages)
if(QUORREL_BUILD_UI)
    list(APPEND pages quorrel)
endif()
if(QUORREL_BUILD_CLI)
    list(APPEND pages quorrel-dump quorrel-pack)
endif()
foreach(page ${pages})
    configure_file("${linux_dir}/${page}.1.in" "man/${page}.1" @ONLY)
    quorrel_gzipped("${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1" "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/quorrel")
quorrel_gzipped("${PROJECT_SOURCE_DIR}/CHANGELOG.md" "${doc_dir}" RENAME changelog.gz)
configure_file("${linux_dir}/changelog.Debian.in" changelog.Debian @ONLY)
quorrel_gzipped("${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian" "${doc_dir}")

# The copyright file in Debian's machine-readable format, its licence text taken from LICENSE
# (less the title and the copyright line): one line a paragraph line, indented, "." for a blank.
file(READ "${PROJECT_SOURCE_DIR}/LICENSE" licence)
string(REGEX REPLACE "^.*\nPermission is hereby" "Permission is hereby" licence "${licence}")
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " QUORREL_LICENCE_TEXT " ${licence}")
# Then a paragraph for each library compiled into the programs, with its notice, as the build
# machine's package of it gives it (cmake/ThirdPartyNotices.cmake).
set(QUORREL_THIRD_PARTY_STANZAS "")
if(QUORREL_THIRD_PARTY_NOTICES)
    quorrel_third_party_facts(linux)
    quorrel_notices(deb-copyright "${QUORREL_THIRD_PARTY_FACTS}" "${CMAKE_CURRENT_BINARY_DIR}/copyright-third-party")
    file(READ "${CMAKE_CURRENT_BINARY_DIR}/copyright-third-party" stanzas)
    string(STRIP "${stanzas}" stanzas)
    if(NOT stanzas STREQUAL "")
        set(QUORREL_THIRD_PARTY_STANZAS "\n\n${stanzas}")
    endif()
endif()
configure_file("${linux_dir}/copyright.in" copyright @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/copyright" DESTINATION "${doc_dir}")
install(FILES "${linux_dir}/lintian-overrides" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME quorrel)
get_property(gzipped_files GLOBAL PROPERTY quorrel_gzipped_files)
add_custom_target(gzipped-docs ALL DEPENDS ${gzipped_files})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUORREL_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUORREL_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorrel reads a role-playing game client's skill table, the files skills.idx
and skills.mul, and shows its skills in a window, each checked when the player
can use the skill actively from the client. The window only ever reads those
files. Drive-letter paths such as the game's own folder are looked up in the
Wine prefix. quorrel-dump prints the same table as text, JSON or CSV, and
quorrel-pack writes the two files back from such a list, all or nothing.")

# quorrel_add_version_info(TARGET DESCRIPTION): gives a Windows executable the version resource
# that Explorer's properties show: product name and version, maker and copyright, and what the
# program is. Windows shows the description as the program's name (Task Manager, "Open with"), so
# it is kept short.
function(quorrel_add_version_info target description)
    if(NOT WIN32)
        return()
    endif()
    set(QUORREL_VERSION_TARGET "${target}")
    set(QUORREL_VERSION_DESCRIPTION "${description}")
    set(resource "${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc")
    configure_file("${PROJECT_SOURCE_DIR}/cmake/version-info.rc.in" "${resource}" @ONLY)
    target_sources(${target} PRIVATE "${resource}")
endfunction()

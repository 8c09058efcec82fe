# A header-only library for the cross build, made of one folder of the host's headers. Only that
# folder is put on the include path (through a link in the build tree): the host's /usr/include as
# a whole would put glibc's headers ahead of MinGW's.
set(QUORREL_HOST_INCLUDE_DIR "/usr/include" CACHE PATH "Where the host's header-only libraries are")

function(quorrel_host_header_library target folder)
    if(TARGET ${target})
        return()
    endif()
    if(NOT EXISTS "${QUORREL_HOST_INCLUDE_DIR}/${folder}")
        message(FATAL_ERROR "${target}: no ${QUORREL_HOST_INCLUDE_DIR}/${folder} (scripts/setup installs it)")
    endif()
    set(staged "${CMAKE_BINARY_DIR}/host-headers")
    file(MAKE_DIRECTORY "${staged}")
    if(NOT EXISTS "${staged}/${folder}")
        file(CREATE_LINK "${QUORREL_HOST_INCLUDE_DIR}/${folder}" "${staged}/${folder}" SYMBOLIC)
    endif()
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${staged}")
endfunction()

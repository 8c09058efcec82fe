# GoogleTest built for the target from Debian's source package (googletest), once per build tree.
set(QUORREL_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest's sources")

if(NOT TARGET GTest::gtest)
    if(NOT EXISTS "${QUORREL_GTEST_SOURCE_DIR}/CMakeLists.txt")
        message(FATAL_ERROR "GoogleTest: no sources in ${QUORREL_GTEST_SOURCE_DIR} (scripts/setup installs googletest)")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory("${QUORREL_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
    # Their headers are someone else's: keep our warnings out of them, as with the installed package.
    foreach(library gtest gtest_main gmock gmock_main)
        if(TARGET ${library})
            get_target_property(include_dirs ${library} INTERFACE_INCLUDE_DIRECTORIES)
            set_target_properties(${library} PROPERTIES
                INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${include_dirs}")
        endif()
    endforeach()
endif()
set(GTest_FOUND TRUE)

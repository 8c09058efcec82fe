# The notices of the third-party code in the programs this build makes, taken from the build
# machine's Debian packages by packaging/third-party/notices: which header or library the
# compiler uses, the package that holds it, its version and its copyright file. The facts go to
# third-party.json in the build folder, from which the packages' notice files are written and
# scripts/package writes the bill of materials. It needs python3 and dpkg, so it is on where both
# are (scripts/setup --all installs them); without them the packages carry Quorrel's licence alone.
find_program(QUORREL_PYTHON3 python3)
find_program(QUORREL_DPKG_QUERY dpkg-query)
set(notices_default OFF)
if(QUORREL_PYTHON3 AND QUORREL_DPKG_QUERY)
    set(notices_default ON)
endif()
option(QUORREL_THIRD_PARTY_NOTICES "Write the third-party notices the packages carry (needs python3 and dpkg)"
       ${notices_default})

set(QUORREL_NOTICES_TOOL "${PROJECT_SOURCE_DIR}/packaging/third-party/notices")
set(QUORREL_THIRD_PARTY_FACTS "${CMAKE_BINARY_DIR}/third-party.json")

# Runs the tool with the arguments given, failing the configuration when it fails.
function(quorrel_notices)
    execute_process(COMMAND "${QUORREL_PYTHON3}" "${QUORREL_NOTICES_TOOL}" ${ARGN}
                    RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "The third-party notices could not be written: ${errors}")
    endif()
endfunction()

# The facts for one build ("linux" or "windows"): the programs it makes and the include folders
# of the header-only libraries they use, as the targets that compile them give them.
function(quorrel_third_party_facts build)
    set(programs)
    set(suffix "")
    if(WIN32)
        set(suffix ".exe")
    endif()
    if(QUORREL_BUILD_UI)
        list(APPEND programs --program "quorrel${suffix}")
    endif()
    set(include_dirs)
    if(QUORREL_BUILD_CLI)
        list(APPEND programs --program "quorrel-dump${suffix}" --program "quorrel-pack${suffix}")
        # The same packages src/cli compiles with; found here too so their folders can be read.
        find_package(CLI11 CONFIG REQUIRED)
        find_package(nlohmann_json REQUIRED)
        foreach(target CLI11::CLI11 nlohmann_json::nlohmann_json)
            get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
            foreach(dir ${dirs})
                list(APPEND include_dirs --include-dir "${dir}")
            endforeach()
        endforeach()
    endif()
    quorrel_notices(resolve --build ${build} --cxx "${CMAKE_CXX_COMPILER}" ${include_dirs} ${programs}
                    --out "${QUORREL_THIRD_PARTY_FACTS}")
    # Configured again when the list, the tool or a notice it read changes.
    file(READ "${QUORREL_THIRD_PARTY_FACTS}" facts)
    string(JSON count LENGTH "${facts}" components)
    set(read_files "${PROJECT_SOURCE_DIR}/packaging/third-party/components.json" "${QUORREL_NOTICES_TOOL}")
    if(count GREATER 0)
        math(EXPR last "${count} - 1")
        foreach(index RANGE ${last})
            string(JSON copyright_file GET "${facts}" components ${index} copyright_file)
            string(JSON evidence GET "${facts}" components ${index} evidence)
            list(APPEND read_files "${copyright_file}" "${evidence}")
        endforeach()
    endif()
    set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${read_files})
endfunction()

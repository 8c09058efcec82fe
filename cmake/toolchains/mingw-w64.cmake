# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix); the
# programs and tests run under Wine. Used by the mingw preset and scripts/windows-test.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(quorrel_mingw_triple x86_64-w64-mingw32)
# The posix flavour: its std::thread and std::mutex are what GoogleTest expects.
set(CMAKE_C_COMPILER ${quorrel_mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${quorrel_mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${quorrel_mingw_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${quorrel_mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, the C++ run-time and the threads library included, so the executables run
# under Wine, or are copied to Windows, without MinGW's DLLs beside them. No link time in the
# executables' headers: the same sources link into the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
# Release executables without symbols: what a user downloads.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# CTest and GoogleTest's test discovery run the executables through Wine, by scripts/wine-run,
# which runs a program again that Wine failed to start. wine64 lives outside PATH on Debian; plain
# wine starts 64-bit programs too.
find_program(QUORREL_WINE NAMES wine64 wine HINTS /usr/lib/wine DOC "Wine, to run Windows programs")
if(QUORREL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run;${QUORREL_WINE}")
endif()

# Debian ships no Windows builds of GoogleTest, CLI11 or nlohmann_json. These package folders build
# GoogleTest from its source package and take the two header-only libraries' headers from the host.
set(GTest_DIR "${CMAKE_CURRENT_LIST_DIR}/mingw-packages/GTest" CACHE PATH "")
set(CLI11_DIR "${CMAKE_CURRENT_LIST_DIR}/mingw-packages/CLI11" CACHE PATH "")
set(nlohmann_json_DIR "${CMAKE_CURRENT_LIST_DIR}/mingw-packages/nlohmann_json" CACHE PATH "")

# Compiler settings shared by every target, as INTERFACE libraries linked PRIVATE.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")

add_library(quorrel_warnings INTERFACE)
add_library(Quorrel::warnings ALIAS quorrel_warnings)
if(MSVC)
    target_compile_options(quorrel_warnings INTERFACE /W4 /permissive-)
else()
    target_compile_options(quorrel_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                      -Wsign-conversion)
endif()

option(QUORREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
add_library(quorrel_sanitizers INTERFACE)
add_library(Quorrel::sanitizers ALIAS quorrel_sanitizers)
if(QUORREL_SANITIZE)
    set(sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(quorrel_sanitizers INTERFACE ${sanitize_flags})
    target_link_options(quorrel_sanitizers INTERFACE ${sanitize_flags})
endif()

# Every project target links both.
add_library(quorrel_options INTERFACE)
add_library(Quorrel::options ALIAS quorrel_options)
target_link_libraries(quorrel_options INTERFACE quorrel_warnings quorrel_sanitizers)

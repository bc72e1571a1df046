# Native build: the portable core with its unit tests, and the tests that
# drive the cross-compiled exes under Wine.
enable_testing()

add_library(core STATIC ${CORE_SOURCES})
target_include_directories(core PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
target_compile_options(core PRIVATE -Wall -Wextra)

add_subdirectory(tests/unit)

# Folders of the cross builds, given by the Makefile.
set(LAUNCHER_X64_DIR "" CACHE PATH "Build folder of the x64 exes")
set(LAUNCHER_X86_DIR "" CACHE PATH "Build folder of the x86 exes")
add_subdirectory(tests/checks)
if(LAUNCHER_X64_DIR AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/CMakeLists.txt")
    add_subdirectory(tests/e2e)
endif()

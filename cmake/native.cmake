# Native build: the portable core with its unit tests, and the tests that
# drive the cross-compiled exes under Wine.
enable_testing()

# A second native build, with clang, runs everything under the address and
# undefined-behaviour sanitizers and adds the fuzz targets (tests/fuzz).
option(LAUNCHER_FUZZ "Sanitizer build with the fuzz targets (needs clang)" OFF)
if(LAUNCHER_FUZZ)
    include(tests/fuzz/sanitizers.cmake)
endif()

add_library(core STATIC ${CORE_SOURCES})
target_include_directories(core PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
target_compile_options(core PRIVATE -Wall -Wextra)

add_subdirectory(checker)
add_subdirectory(tests/unit)

# Folders of the cross builds, given by the Makefile.
set(LAUNCHER_X64_DIR "" CACHE PATH "Build folder of the x64 exes")
set(LAUNCHER_X86_DIR "" CACHE PATH "Build folder of the x86 exes")
add_subdirectory(tests/checks)
if(LAUNCHER_X64_DIR AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/CMakeLists.txt")
    add_subdirectory(tests/e2e)
endif()

# Folder of the sanitizer build, given by the Makefile: its binaries run here
# so that one ctest run reports everything.
set(LAUNCHER_FUZZ_DIR "" CACHE PATH "Build folder of the sanitizer and fuzz build")
if(LAUNCHER_FUZZ OR LAUNCHER_FUZZ_DIR)
    add_subdirectory(tests/fuzz)
endif()

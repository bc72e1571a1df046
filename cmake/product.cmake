# The launcher exe and the Windows-side test tools, cross-compiled with MinGW-w64.

# Keep the C++ runtime out: no exceptions or RTTI, sections collected away,
# everything static so the exe needs nothing but the system's own DLLs.
set(PRODUCT_COMPILE_OPTIONS -Os -flto -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections -municode -Wall -Wextra)
set(PRODUCT_LINK_OPTIONS -Os -flto -municode -static -s -Wl,--gc-sections -Wl,--dynamicbase -Wl,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    list(APPEND PRODUCT_LINK_OPTIONS -Wl,--high-entropy-va)
endif()

add_executable(launcher WIN32
    ${CORE_SOURCES}
    win32/entry.cpp
    win32/main.cpp
    win32/hardening.cpp
    win32/win32_platform.cpp
    win32/machine_facts.cpp
    win32/file_bytes.cpp
    window/splash_window.cpp
    window/dpi.cpp
    window/picture_file.cpp
    window/back_buffer.cpp
    window/window_icons.cpp
)
set_target_properties(launcher PROPERTIES OUTPUT_NAME "${LAUNCHER_NAME}")
target_compile_definitions(launcher PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601 "LAUNCHER_TITLE=L\"${LAUNCHER_TITLE_C_LITERAL}\"")
target_compile_options(launcher PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_options(launcher PRIVATE ${PRODUCT_LINK_OPTIONS})
# Our own entry point (win32/entry.cpp) instead of the C runtime's start-up.
# Without that start-up nothing would apply the fix-ups of imported data, so
# the link refuses to import any.
#
# ld 2.40 crashes (signal 11) on such a link when the first library
# functions it has to fetch are ones that only the link-time optimiser's
# output asks for: the compiler's own C functions (malloc, memmove, ...) and
# libgcc's helpers are missing from its symbol tables. The start-up used to
# ask for them early; now --undefined does. Should the link crash after a
# change, the new C function belongs in this list.
set(launcher_early_functions abort calloc free malloc memmove realloc)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(launcher_entry LauncherEntry)
else()
    # C names carry an underscore on x86, stdcall ones also their size.
    set(launcher_entry _LauncherEntry@0)
    list(TRANSFORM launcher_early_functions PREPEND "_")
    list(APPEND launcher_early_functions ___udivdi3)   # 64-bit division
endif()
list(TRANSFORM launcher_early_functions PREPEND "-Wl,--undefined=")
target_link_options(launcher PRIVATE -nostartfiles -Wl,--entry=${launcher_entry} -Wl,--disable-auto-import
    ${launcher_early_functions})
target_link_libraries(launcher PRIVATE ole32 user32 gdi32 kernel32)
include(cmake/resources.cmake)

# The Windows build of the disc checker ships as a 64-bit program only.
if(CMAKE_SIZEOF_VOID_P EQUAL 8 AND NOT LAUNCHER_BENCH)
    add_subdirectory(checker)
endif()

if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/tests/tools/CMakeLists.txt")
    add_subdirectory(tests/tools)
endif()

option(LAUNCHER_BENCH "Also build the benchmark programs of bench/" OFF)
if(LAUNCHER_BENCH)
    add_subdirectory(bench)
endif()

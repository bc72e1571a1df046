# A product's identity, fixed when its launcher is built. Every setting has a
# default; the Makefile passes ICON, NAME, TITLE, PRODUCT, DESCRIPTION,
# COMPANY, COPYRIGHT and VERSION through to these cache variables. Both the
# Windows builds and the native one (whose checks compare the exes against
# them) read this file.

set(LAUNCHER_DEFAULT_ICON "${CMAKE_CURRENT_LIST_DIR}/../res/launcher.ico")
get_filename_component(LAUNCHER_DEFAULT_ICON "${LAUNCHER_DEFAULT_ICON}" ABSOLUTE)

set(LAUNCHER_ICON "" CACHE FILEPATH "Application icon (ICO); empty for the built-in disc icon")
set(LAUNCHER_PRODUCT "" CACHE STRING "Version resource ProductName; empty for the title")
set(LAUNCHER_DESCRIPTION "" CACHE STRING "Version resource FileDescription; empty for the title")
set(LAUNCHER_COMPANY "" CACHE STRING "Version resource CompanyName")
set(LAUNCHER_COPYRIGHT "" CACHE STRING "Version resource LegalCopyright")
set(LAUNCHER_VERSION "1.0.0.0" CACHE STRING "File and product version, one to four numbers 0-65535")

# Empty settings take their defaults here rather than in the cache, so that a
# later TITLE=... still reaches the product name.
set(LAUNCHER_ICON_FILE "${LAUNCHER_ICON}")
if(LAUNCHER_ICON_FILE STREQUAL "")
    set(LAUNCHER_ICON_FILE "${LAUNCHER_DEFAULT_ICON}")
endif()
get_filename_component(LAUNCHER_ICON_FILE "${LAUNCHER_ICON_FILE}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
set(LAUNCHER_PRODUCT_NAME "${LAUNCHER_PRODUCT}")
if(LAUNCHER_PRODUCT_NAME STREQUAL "")
    set(LAUNCHER_PRODUCT_NAME "${LAUNCHER_TITLE}")
endif()
set(LAUNCHER_FILE_DESCRIPTION "${LAUNCHER_DESCRIPTION}")
if(LAUNCHER_FILE_DESCRIPTION STREQUAL "")
    set(LAUNCHER_FILE_DESCRIPTION "${LAUNCHER_TITLE}")
endif()

# The exe's base name is also its INI's name, so it must be a plain file name.
if(LAUNCHER_NAME STREQUAL "" OR LAUNCHER_NAME MATCHES "[\\\\/:*?\"<>|]" OR LAUNCHER_NAME MATCHES "[. ]$")
    message(FATAL_ERROR "NAME=\"${LAUNCHER_NAME}\" is not a usable file name: give the exe's base "
        "name without folder and without the characters \\ / : * ? \" < > |")
endif()
if(LAUNCHER_NAME MATCHES "\\.[eE][xX][eE]$")
    message(FATAL_ERROR "NAME=\"${LAUNCHER_NAME}\": give the base name without .exe "
        "(NAME=autorun builds autorun.exe, which reads autorun.ini)")
endif()

# Windows keeps a version as four 16-bit numbers; missing ones are 0.
if(NOT LAUNCHER_VERSION MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
    message(FATAL_ERROR "VERSION=\"${LAUNCHER_VERSION}\" is not a version: write one to four "
        "numbers separated by dots, e.g. 2.1 or 2.1.0.7")
endif()
string(REPLACE "." ";" LAUNCHER_VERSION_PARTS "${LAUNCHER_VERSION}")
list(LENGTH LAUNCHER_VERSION_PARTS LAUNCHER_VERSION_COUNT)
while(LAUNCHER_VERSION_COUNT LESS 4)
    list(APPEND LAUNCHER_VERSION_PARTS 0)
    math(EXPR LAUNCHER_VERSION_COUNT "${LAUNCHER_VERSION_COUNT} + 1")
endwhile()
set(LAUNCHER_VERSION_NORMALISED "")
foreach(part IN LISTS LAUNCHER_VERSION_PARTS)
    if(part GREATER 65535)
        message(FATAL_ERROR "VERSION=\"${LAUNCHER_VERSION}\": each number is at most 65535")
    endif()
    math(EXPR part "${part}")   # drops leading zeros
    list(APPEND LAUNCHER_VERSION_NORMALISED "${part}")
endforeach()
list(JOIN LAUNCHER_VERSION_NORMALISED "." LAUNCHER_VERSION_FULL)
list(JOIN LAUNCHER_VERSION_NORMALISED "," LAUNCHER_VERSION_COMMAS)

# The title as the body of a C++ wide string literal.
string(REPLACE "\\" "\\\\" LAUNCHER_TITLE_C_LITERAL "${LAUNCHER_TITLE}")
string(REPLACE "\"" "\\\"" LAUNCHER_TITLE_C_LITERAL "${LAUNCHER_TITLE_C_LITERAL}")

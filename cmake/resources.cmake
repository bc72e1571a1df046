# The launcher's resources (res/launcher.rc): the product's icon, the manifest
# and a version resource made from the build settings of cmake/branding.cmake.
enable_language(RC)

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Refuse a file that is no icon here, with its name, rather than with the
# resource compiler's terse complaint; warn when sizes are missing.
execute_process(
    COMMAND "${Python3_EXECUTABLE}" "${CMAKE_CURRENT_SOURCE_DIR}/res/check_icon.py" "${LAUNCHER_ICON_FILE}"
    RESULT_VARIABLE icon_check_result
    OUTPUT_VARIABLE icon_check_output
    OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT icon_check_result EQUAL 0)
    string(REGEX REPLACE "^error: " "" icon_check_output "${icon_check_output}")
    message(FATAL_ERROR "ICON: ${icon_check_output}")
endif()
if(icon_check_output)
    string(REGEX REPLACE "^warning: " "" icon_check_output "${icon_check_output}")
    message(WARNING "ICON: ${icon_check_output}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${LAUNCHER_ICON_FILE}")

# Text for a string literal of the resource script: \ doubled, " as "".
function(launcher_rc_string output value)
    string(REPLACE "\\" "\\\\" value "${value}")
    string(REPLACE "\"" "\"\"" value "${value}")
    set(${output} "${value}" PARENT_SCOPE)
endfunction()
launcher_rc_string(LAUNCHER_RC_ICON "${LAUNCHER_ICON_FILE}")
launcher_rc_string(LAUNCHER_RC_MANIFEST "${CMAKE_CURRENT_SOURCE_DIR}/res/launcher.manifest")
launcher_rc_string(LAUNCHER_RC_PRODUCT "${LAUNCHER_PRODUCT_NAME}")
launcher_rc_string(LAUNCHER_RC_DESCRIPTION "${LAUNCHER_FILE_DESCRIPTION}")
launcher_rc_string(LAUNCHER_RC_COMPANY "${LAUNCHER_COMPANY}")
launcher_rc_string(LAUNCHER_RC_COPYRIGHT "${LAUNCHER_COPYRIGHT}")
launcher_rc_string(LAUNCHER_RC_NAME "${LAUNCHER_NAME}")

set(LAUNCHER_BRANDING_DIR "${CMAKE_CURRENT_BINARY_DIR}/branding")
configure_file("${CMAKE_CURRENT_SOURCE_DIR}/res/branding.h.in" "${LAUNCHER_BRANDING_DIR}/branding.h" @ONLY)

target_sources(launcher PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/res/launcher.rc")
set_source_files_properties("${CMAKE_CURRENT_SOURCE_DIR}/res/launcher.rc" PROPERTIES
    OBJECT_DEPENDS "${LAUNCHER_ICON_FILE};${CMAKE_CURRENT_SOURCE_DIR}/res/launcher.manifest;${LAUNCHER_BRANDING_DIR}/branding.h;${CMAKE_CURRENT_SOURCE_DIR}/res/resource_ids.h")
# windres reads the script as UTF-8, so titles and names in any script land
# in the version resource unchanged.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
target_include_directories(launcher PRIVATE "${LAUNCHER_BRANDING_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/res")

# SPDX-License-Identifier: GPL-3.0-or-later
# The program's one version number and publisher, and the Windows version resource and icon made from them.
set(ZINDREL_VERSION 1.0.0.0)
set(ZINDREL_PUBLISHER "Zindrel")

# `cmake -P cmake/ZindrelVersion.cmake` prints the two, one a line, for the installer's build.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${ZINDREL_VERSION}\n${ZINDREL_PUBLISHER}")
    return()
endif()

# Writes the resource script (version resource + program icon) for ZINDREL_VERSION into `output`.
function(zindrel_windows_resource output)
    string(REPLACE "." ";" parts "${ZINDREL_VERSION}")
    list(LENGTH parts count)
    while(count LESS 4)
        list(APPEND parts 0)
        math(EXPR count "${count} + 1")
    endwhile()
    list(JOIN parts "," ZINDREL_VERSION_COMMAS)
    set(ZINDREL_ICON "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../resources/zindrel.ico")
    configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../resources/zindrel.rc.in" "${output}" @ONLY)
endfunction()

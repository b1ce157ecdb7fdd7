# Builds the Debian package with CPack into a scratch directory, once, for the checks that read
# it (the test fixture debian_package).
#
#   -DCPACK=<cpack> -DCONFIG=<CPackConfig.cmake> -DOUT_DIR=<scratch>
cmake_minimum_required(VERSION 3.25)

foreach(var CPACK CONFIG OUT_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()

file(REMOVE_RECURSE "${OUT_DIR}")
execute_process(
    COMMAND "${CPACK}" -G DEB --config "${CONFIG}" -B "${OUT_DIR}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE log
    ERROR_VARIABLE log)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed (${status}):\n${log}")
endif()
set(DEB_DIR "${OUT_DIR}")
include(${CMAKE_CURRENT_LIST_DIR}/find_deb.cmake)
message("${deb}")

# Builds the Debian package with CPack into a scratch directory and runs lintian on it: any
# error or warning fails. Informational and pedantic notes are shown but let through.
#
#   -DCPACK=<cpack> -DLINTIAN=<lintian> -DCONFIG=<CPackConfig.cmake> -DOUT_DIR=<scratch>
cmake_minimum_required(VERSION 3.25)

foreach(var CPACK LINTIAN CONFIG OUT_DIR)
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
file(GLOB debs "${OUT_DIR}/*.deb")
list(LENGTH debs count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack failed (${status}, ${count} packages):\n${log}")
endif()

# --allow-root: lintian refuses to run as root without it, and CI containers run as root.
# --no-cfg: a lintianrc of the machine must not hide or add tags.
execute_process(
    COMMAND "${LINTIAN}" --no-cfg --allow-root --color never --display-info --pedantic
        --fail-on error,warning "${debs}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE report
    ERROR_VARIABLE report)
message("${report}")
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" faults "${report}")
if(NOT status EQUAL 0 OR faults)
    message(FATAL_ERROR "lintian finds errors or warnings in ${debs} (exit status ${status})")
endif()

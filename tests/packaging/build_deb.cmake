# Included by the checks of the Debian package: builds it with CPack into a scratch directory
# and sets `deb` to its path. Needs CPACK, CONFIG (CPackConfig.cmake) and OUT_DIR.
file(REMOVE_RECURSE "${OUT_DIR}")
execute_process(
    COMMAND "${CPACK}" -G DEB --config "${CONFIG}" -B "${OUT_DIR}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE log
    ERROR_VARIABLE log)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed (${status}):\n${log}")
endif()
file(GLOB debs "${OUT_DIR}/*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb in ${OUT_DIR}, found ${count}:\n${log}")
endif()
set(deb "${debs}")

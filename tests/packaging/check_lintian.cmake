# Runs lintian on Debian packages: any error or warning fails. Informational and pedantic
# notes are shown but let through.
#
#   -DLINTIAN=<lintian> -DPACKAGE=<a .deb, .dsc or .changes>
# scripts/build-deb runs it on the .changes of what it builds: the source and binary packages.
cmake_minimum_required(VERSION 3.25)

foreach(var LINTIAN PACKAGE)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()

# --allow-root: lintian refuses to run as root without it, and CI containers run as root.
# --no-cfg: a lintianrc of the machine must not hide or add tags.
execute_process(
    COMMAND "${LINTIAN}" --no-cfg --allow-root --color never --display-info --pedantic
        --fail-on error,warning "${PACKAGE}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE report
    ERROR_VARIABLE report)
message("${report}")
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" faults "${report}")
if(NOT status EQUAL 0 OR faults)
    message(FATAL_ERROR "lintian finds errors or warnings in ${PACKAGE} (exit status ${status})")
endif()

# Compiles the program's Windows resource script with windres and checks the compiled object.
#
#   -DWINDRES=<windres> -DPYTHON=<python3> -DCHECKER=<check_win_resource.py>
#   -DRC=<numerillo.rc> -DOUT=<object to write> -DCHECK_ARGS=<checker arguments, ;-list>
#
# With -DMUTATE_REGEX=<regex> -DMUTATE_WITH=<text> -DEXPECT_PROBLEM=<regex> the script first
# damages a copy of the script that way and then passes only if the checker rejects the
# result for the expected reason: the check must be able to notice each kind of mistake.
cmake_minimum_required(VERSION 3.25)

foreach(var WINDRES PYTHON CHECKER RC OUT CHECK_ARGS)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()

get_filename_component(rc_dir "${RC}" DIRECTORY)
set(source "${RC}")
if(DEFINED MUTATE_REGEX)
    file(READ "${RC}" text)
    string(REGEX REPLACE "${MUTATE_REGEX}" "${MUTATE_WITH}" damaged "${text}")
    if(damaged STREQUAL text)
        message(FATAL_ERROR "'${MUTATE_REGEX}' matches nothing in ${RC}: update this case")
    endif()
    set(source "${OUT}.rc")
    file(WRITE "${source}" "${damaged}")
endif()

file(REMOVE "${OUT}")
# --include-dir lets a damaged copy outside the source tree still find icons/numerillo.ico.
execute_process(
    COMMAND "${WINDRES}" --include-dir "${rc_dir}" -O coff -i "${source}" -o "${OUT}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS "${OUT}")
    message(FATAL_ERROR "windres failed on ${source} (${status})")
endif()

execute_process(
    COMMAND "${PYTHON}" "${CHECKER}" "${OUT}" ${CHECK_ARGS}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE report
    ERROR_VARIABLE report)
message("${report}")

if(NOT DEFINED MUTATE_REGEX)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "the compiled resources are not as expected")
    endif()
elseif(status EQUAL 0)
    message(FATAL_ERROR "the checker accepted resources damaged by '${MUTATE_REGEX}'")
elseif(NOT status EQUAL 1 OR NOT report MATCHES "${EXPECT_PROBLEM}")
    message(FATAL_ERROR "the checker rejected the damaged resources, but not for '${EXPECT_PROBLEM}'")
endif()

# Runs the program with no display and checks that it ends with status 1 and one line that
# says a display is needed.   -DPROGRAM=<numerillo>
cmake_minimum_required(VERSION 3.25)

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
        --unset=QT_QPA_PLATFORM --unset=XDG_SESSION_TYPE ${PROGRAM}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    TIMEOUT 20)
if(NOT status STREQUAL "1")
    message(FATAL_ERROR "exit status ${status}, not 1\n${out}${err}")
endif()
string(STRIP "${out}${err}" said)
if(NOT said MATCHES "^numerillo: serve uno schermo grafico[^\n]*$")
    message(FATAL_ERROR "expected one line saying a display is needed, got:\n${said}")
endif()

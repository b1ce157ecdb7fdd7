# Runs the program where it cannot show its windows and checks that it ends with status 1 and
# one line that says why.
#   -DPROGRAM=<numerillo> -DCASE=<no-display|dead-display|no-such-platform> [-DDISPLAY_NUMBER=N]
cmake_minimum_required(VERSION 3.25)

set(clean_environment --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=WAYLAND_SOCKET
    --unset=QT_QPA_PLATFORM --unset=XDG_SESSION_TYPE)
if(CASE STREQUAL "no-display")
    set(environment XDG_RUNTIME_DIR=/nonexistent)
    set(expected "^numerillo: serve uno schermo grafico \\(X11 o Wayland\\)[^\n]*$")
elseif(CASE STREQUAL "dead-display")
    # An X display that nothing serves: the cause is Qt's, named in the one line.
    set(environment DISPLAY=:${DISPLAY_NUMBER} XDG_RUNTIME_DIR=/nonexistent)
    set(expected "^numerillo: la grafica non parte: [^\n]*could not connect to display :${DISPLAY_NUMBER}[^\n]*$")
elseif(CASE STREQUAL "no-such-platform")
    set(environment QT_QPA_PLATFORM=nosuchplatform)
    set(expected "^numerillo: la grafica non parte: [^\n]*\"nosuchplatform\"[^\n]*$")
else()
    message(FATAL_ERROR "no such case: ${CASE}")
endif()

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${clean_environment} ${environment} ${PROGRAM}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    TIMEOUT 20)
if(NOT status STREQUAL "1")
    message(FATAL_ERROR "exit status ${status}, not 1\n${out}${err}")
endif()
string(STRIP "${out}${err}" said)
if(NOT said MATCHES "${expected}")
    message(FATAL_ERROR "expected one line matching ${expected}, got:\n${said}")
endif()

# Runs wixl so that the same sources give the same package, byte for byte: what
# numerillo_msi() (cmake/WindowsInstaller.cmake) runs at build time.
#
#   cmake -DWIXL=<wixl> -DMSIBUILD=<msibuild> -DFAKETIME=<faketime> -DWXS=<numerillo.wxs>
#         -DOUTPUT=<package.msi> -DWIXL_ARCH=<x64|x86>
#         -DPROGRAM=<numerillo.exe> -DICON=<numerillo.ico> -DLICENCE=<LICENSE>
#         -DPACKAGE_CODE=<GUID> -DSUBJECT=<summary subject> -DAUTHOR=<manufacturer>
#         -DTEMPLATE=<platform;language> -P BuildMsi.cmake
#
# wixl 0.101 gives each package a random package code and the time of the build, whatever the
# source's Package Id and SOURCE_DATE_EPOCH say, and its cabinet keeps the files' own dates. So:
# the files go in as copies dated SOURCE_DATE_EPOCH, wixl runs under faketime at that moment,
# and msibuild (msitools) then writes the fixed package code into the summary, the other fields
# as they were. Without SOURCE_DATE_EPOCH the package carries the build's time and the files'
# dates, and only its package code is fixed. string(TIMESTAMP) reads SOURCE_DATE_EPOCH itself.
cmake_minimum_required(VERSION 3.25)

foreach(var WIXL MSIBUILD FAKETIME WXS OUTPUT WIXL_ARCH PROGRAM ICON LICENCE PACKAGE_CODE SUBJECT
            AUTHOR TEMPLATE)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()

get_filename_component(source_dir ${WXS} DIRECTORY)
set(staged ${source_dir}/files)
file(REMOVE_RECURSE ${staged})
set(defines "")
set(clock "")
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT epoch STREQUAL "")
    if(NOT epoch MATCHES "^[0-9]+$")
        message(FATAL_ERROR "SOURCE_DATE_EPOCH is '${epoch}', not a number of seconds")
    endif()
    # The clock stands still at that moment (faketime's form without '@').
    string(TIMESTAMP moment "%Y-%m-%d %H:%M:%S" UTC)
    set(clock ${FAKETIME} -f ${moment})
endif()
# The package source's variable for each file.
foreach(variable IN ITEMS Program Icon Licence)
    string(TOUPPER ${variable} given)
    set(path ${${given}})
    get_filename_component(name ${path} NAME)
    file(MAKE_DIRECTORY ${staged}/${variable})
    file(COPY_FILE ${path} ${staged}/${variable}/${name} ONLY_IF_DIFFERENT)
    if(clock)
        execute_process(COMMAND touch -d @${epoch} ${staged}/${variable}/${name}
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
    # wixl takes the files' paths relative to where it runs.
    list(APPEND defines -D ${variable}=files/${variable}/${name})
endforeach()

file(REMOVE ${OUTPUT})
# The cabinet keeps the files' dates as local times: UTC, wherever the build runs.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${clock} ${WIXL} -a ${WIXL_ARCH} ${defines}
        -o ${OUTPUT} ${WXS}
    WORKING_DIRECTORY ${source_dir} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSIBUILD} ${OUTPUT} -s "${SUBJECT}" "${AUTHOR}" "${TEMPLATE}"
    {${PACKAGE_CODE}} COMMAND_ERROR_IS_FATAL ANY)

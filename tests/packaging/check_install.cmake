# Installs the build into an empty prefix and checks what a desktop gets from it.
#
#   -DBUILD_DIR=<build tree> -DPREFIX=<scratch directory> -DAPP_ID=<reverse-DNS id>
#   -DVERSION=<project version> -DICON_SIZES=<16,22,...>
#
# Beyond the presence of each file, the pieces must agree with one another: the menu entry
# starts the installed program and names an installed icon, the metainfo launches that menu
# entry and lists the project's version as its newest release, and each PNG icon has the
# size of the directory it sits in. The manual page carries the project's version and is
# compressed without a name or time stamp, so that two builds of the same sources give the
# same file. The copyright file and the changelog are the Debian package's (debian/).
cmake_minimum_required(VERSION 3.25)

foreach(var BUILD_DIR PREFIX APP_ID VERSION ICON_SIZES)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()

string(REPLACE "," ";" ICON_SIZES "${ICON_SIZES}")

file(REMOVE_RECURSE "${PREFIX}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE status
    OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status})")
endif()

set(problems "")
macro(problem text)
    list(APPEND problems "${text}")
endmacro()

set(desktop "share/applications/${APP_ID}.desktop")
set(metainfo "share/metainfo/${APP_ID}.metainfo.xml")
set(manual share/man/man1/numerillo.1.gz)
set(required bin/numerillo "${desktop}" "${metainfo}"
    "share/icons/hicolor/scalable/apps/${APP_ID}.svg"
    "${manual}")
foreach(size IN LISTS ICON_SIZES)
    list(APPEND required "share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()
foreach(path IN LISTS required)
    if(NOT EXISTS "${PREFIX}/${path}")
        problem("missing ${path}")
    endif()
endforeach()

# Everything lands in bin/ or share/: no headers, libraries or build files.
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
foreach(path IN LISTS installed)
    if(NOT path MATCHES "^(bin|share)/")
        problem("unexpected file installed: ${path}")
    endif()
endforeach()

execute_process(COMMAND test -x "${PREFIX}/bin/numerillo" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    problem("bin/numerillo is not executable")
endif()

# Each PNG's width and height (big-endian, at bytes 16 and 20) match its directory.
foreach(size IN LISTS ICON_SIZES)
    set(png "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
    if(EXISTS "${png}")
        file(READ "${png}" header LIMIT 24 HEX)
        string(SUBSTRING "${header}" 0 16 signature)
        string(SUBSTRING "${header}" 32 8 width_hex)
        string(SUBSTRING "${header}" 40 8 height_hex)
        math(EXPR width "0x${width_hex}")
        math(EXPR height "0x${height_hex}")
        if(NOT signature STREQUAL "89504e470d0a1a0a")
            problem("${size}x${size} icon is not a PNG")
        elseif(NOT width EQUAL size OR NOT height EQUAL size)
            problem("${size}x${size} icon is ${width}x${height}")
        endif()
    endif()
endforeach()

if(EXISTS "${PREFIX}/${desktop}")
    file(STRINGS "${PREFIX}/${desktop}" exec_line REGEX "^Exec=")
    file(STRINGS "${PREFIX}/${desktop}" icon_line REGEX "^Icon=")
    string(REGEX REPLACE "^Exec=([^ ]*).*" "\\1" exec "${exec_line}")
    string(REGEX REPLACE "^Icon=" "" icon "${icon_line}")
    if(exec STREQUAL "" OR NOT EXISTS "${PREFIX}/bin/${exec}")
        problem("the menu entry runs '${exec}', which is not in bin/")
    endif()
    if(icon STREQUAL "" OR NOT EXISTS "${PREFIX}/share/icons/hicolor/scalable/apps/${icon}.svg"
       OR NOT EXISTS "${PREFIX}/share/icons/hicolor/48x48/apps/${icon}.png")
        problem("the menu entry's icon '${icon}' is not installed in the hicolor theme")
    endif()
endif()

if(EXISTS "${PREFIX}/${metainfo}")
    file(READ "${PREFIX}/${metainfo}" xml)
    string(REGEX MATCH "<id>([^<]*)</id>" _ "${xml}")
    set(id "${CMAKE_MATCH_1}")
    string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" _ "${xml}")
    set(launchable "${CMAKE_MATCH_1}")
    string(REGEX MATCH "<binary>([^<]*)</binary>" _ "${xml}")
    set(binary "${CMAKE_MATCH_1}")
    string(REGEX MATCH "<release [^>]*version=\"([^\"]*)\"" _ "${xml}")
    set(release "${CMAKE_MATCH_1}")
    if(NOT id STREQUAL APP_ID)
        problem("the metainfo's id is '${id}', its file is named for ${APP_ID}")
    endif()
    if(launchable STREQUAL "" OR NOT EXISTS "${PREFIX}/share/applications/${launchable}")
        problem("the metainfo launches '${launchable}', which is not installed")
    endif()
    if(binary STREQUAL "" OR NOT EXISTS "${PREFIX}/bin/${binary}")
        problem("the metainfo provides the binary '${binary}', which is not in bin/")
    endif()
    if(NOT release STREQUAL VERSION)
        problem("the metainfo's newest release is '${release}', the project is ${VERSION}")
    endif()
endif()

# path|what the text must hold once decompressed (a regular expression)
string(REPLACE "." "\\." version_regex "${VERSION}")
set(compressed
    "${manual}|\n\\.TH NUMERILLO 1 \"[^\"]*\" \"Numerillo ${version_regex}\"")
find_program(GZIP gzip REQUIRED)
foreach(entry IN LISTS compressed)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 path)
    list(GET entry 1 expected)
    if(NOT EXISTS "${PREFIX}/${path}")
        continue()
    endif()
    # gzip header: 1f 8b, method 08, flags (08: a file name follows), 4 bytes of time stamp.
    file(READ "${PREFIX}/${path}" header LIMIT 8 HEX)
    string(SUBSTRING "${header}" 6 2 flags)
    string(SUBSTRING "${header}" 8 8 stamp)
    execute_process(COMMAND "${GZIP}" -dc "${PREFIX}/${path}"
        OUTPUT_VARIABLE text RESULT_VARIABLE status)
    if(NOT header MATCHES "^1f8b08" OR NOT status EQUAL 0)
        problem("${path} is not gzip-compressed")
    elseif(NOT flags STREQUAL "00" OR NOT stamp STREQUAL "00000000")
        problem("${path} keeps a file name or time stamp (flags ${flags}, time ${stamp})")
    elseif(NOT text MATCHES "${expected}")
        problem("${path} does not match '${expected}'")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "install into ${PREFIX}:\n  ${text}")
endif()
list(LENGTH installed count)
message("install into ${PREFIX}: ${count} files, all in place")

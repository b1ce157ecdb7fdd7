# Compiles the program's Windows resource script with windres, reads the object back as
# resource script text (windres -J coff -O rc) and checks what Windows will show of it.
#
#   -DWINDRES=<windres> -DRC=<configured numerillo.rc> -DOUT=<object to write>
#   -DICO=<numerillo.ico> -DVERSION=<project version> -DNUMERIC_VERSION=<1,0,0,0>
#
# With -DMUTATE_REGEX=<regex> -DMUTATE_WITH=<text> -DEXPECT_PROBLEM=<regex> the script first
# damages a copy of the script that way and then passes only if the check rejects the
# result for the expected reason: the check must be able to notice each kind of mistake.
# -DMUTATE_MANIFEST=ON damages a copy of the application manifest the script names instead.
cmake_minimum_required(VERSION 3.25)

foreach(var WINDRES RC OUT ICO VERSION NUMERIC_VERSION)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()

set(source "${RC}")
if(DEFINED MUTATE_REGEX)
    file(READ "${RC}" text)
    set(target "${RC}")
    if(MUTATE_MANIFEST)
        if(NOT text MATCHES "\n1 24 \"([^\"]*)\"")
            message(FATAL_ERROR "${RC} names no manifest to damage")
        endif()
        set(target "${CMAKE_MATCH_1}")
        string(REPLACE "${target}" "${OUT}.manifest" text "${text}")
        file(READ "${target}" original)
    else()
        set(original "${text}")
    endif()
    string(REGEX REPLACE "${MUTATE_REGEX}" "${MUTATE_WITH}" damaged "${original}")
    if(damaged STREQUAL original)
        message(FATAL_ERROR "'${MUTATE_REGEX}' matches nothing in ${target}: update this case")
    endif()
    if(MUTATE_MANIFEST)
        file(WRITE "${OUT}.manifest" "${damaged}")
        set(damaged "${text}")
    endif()
    set(source "${OUT}.rc")
    file(WRITE "${source}" "${damaged}")
endif()

file(REMOVE "${OUT}")
execute_process(COMMAND "${WINDRES}" -O coff -i "${source}" -o "${OUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS "${OUT}")
    message(FATAL_ERROR "windres failed on ${source} (${status})")
endif()
execute_process(COMMAND "${WINDRES}" -J coff -O rc -i "${OUT}"
    RESULT_VARIABLE status OUTPUT_VARIABLE script)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "windres cannot read back ${OUT} (${status})")
endif()

set(problems "")
macro(problem text)
    list(APPEND problems "${text}")
endmacro()

# Every resource is Italian (LANGUAGE 0x10, SUBLANG_ITALIAN): windres names the language
# before the first resource and again wherever it changes.
string(REGEX MATCHALL "\nLANGUAGE [0-9]+, [0-9]+" languages "\n${script}")
list(REMOVE_DUPLICATES languages)
string(REPLACE "\nLANGUAGE " "" languages "${languages}")
if(NOT languages STREQUAL "16, 1")
    problem("resources in language ${languages}, expected 16, 1 (Italian)")
endif()

# The version information: the numbers, the one string table and its strings.
string(REGEX MATCHALL "[0-9]+ VERSIONINFO" blocks "${script}")
list(LENGTH blocks count)
if(NOT count EQUAL 1)
    problem("expected one VERSIONINFO, found ${count}")
endif()
string(REPLACE "," ", " numeric "${NUMERIC_VERSION}")
foreach(field FILEVERSION PRODUCTVERSION)
    string(REGEX MATCH "\n ${field} ([0-9, ]+)\n" _ "${script}")
    if(NOT CMAKE_MATCH_1 STREQUAL numeric)
        problem("${field} is '${CMAKE_MATCH_1}', expected ${numeric}")
    endif()
endforeach()
string(REGEX MATCHALL "BLOCK \"[0-9A-Fa-f]+\"" tables "${script}")
string(REGEX REPLACE "BLOCK \"([^\"]*)\"" "\\1" tables "${tables}")
if(NOT tables STREQUAL "041004B0")
    problem("no string table 041004B0 alone: found '${tables}'")
endif()
string(REGEX MATCH "VALUE \"Translation\", ([^\n]*)" _ "${script}")
if(NOT CMAKE_MATCH_1 STREQUAL "0x410, 1200")
    problem("Translation lists '${CMAKE_MATCH_1}', expected 0x410, 1200")
endif()
# name|value the string table must hold
set(expected_strings
    "ProductName|Numerillo"
    "FileVersion|${VERSION}"
    "ProductVersion|${VERSION}"
    "OriginalFilename|numerillo.exe")
foreach(entry IN LISTS expected_strings)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 name)
    list(GET entry 1 expected)
    if(NOT script MATCHES "VALUE \"${name}\", \"([^\"]*)\"")
        problem("no string ${name}")
    elseif(NOT CMAKE_MATCH_1 STREQUAL expected)
        problem("string ${name} is '${CMAKE_MATCH_1}', expected '${expected}'")
    endif()
endforeach()

# One icon group, and its directory is the .ico file's: per image the width, height, colour
# count, planes, bits per pixel and size in bytes, in the same order.

# The little-endian number of SIZE bytes at byte OFFSET of the hex dump HEX.
function(little_endian hex offset size out)
    set(digits "")
    math(EXPR last "${size} - 1")
    foreach(i RANGE ${last})
        math(EXPR at "(${offset} + ${i}) * 2")
        string(SUBSTRING "${hex}" ${at} 2 byte)
        string(PREPEND digits "${byte}")
    endforeach()
    math(EXPR value "0x${digits}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()

string(REGEX MATCHALL "/\\* RT_GROUP_ICON \\*/" groups "${script}")
string(REGEX MATCHALL "/\\* RT_ICON \\*/" images "${script}")
list(LENGTH groups group_count)
list(LENGTH images image_count)
# "width height colours reserved", planes, bits, bytes, index
set(element "\"\\\\([0-7]+)\\\\([0-7]+)\\\\([0-7]+)\\\\[0-7]+\", ([0-9]+), ([0-9]+), (0x[0-9a-f]+)L")
string(REGEX MATCHALL "${element}" elements "${script}")
list(LENGTH elements element_count)
file(READ "${ICO}" ico HEX)
little_endian("${ico}" 4 2 ico_count)
if(NOT group_count EQUAL 1)
    problem("expected one RT_GROUP_ICON, found ${group_count}")
elseif(NOT element_count EQUAL ico_count OR NOT image_count EQUAL ico_count)
    problem("the icon group lists ${element_count} images and there are ${image_count} RT_ICON; ${ICO} has ${ico_count}")
else()
    set(index 0)
    foreach(line IN LISTS elements)
        string(REGEX MATCH "${element}" _ "${line}")
        set(octals "${CMAKE_MATCH_1};${CMAKE_MATCH_2};${CMAKE_MATCH_3}")
        math(EXPR bytes "${CMAKE_MATCH_6}")
        set(tail "${CMAKE_MATCH_4} ${CMAKE_MATCH_5} ${bytes}")
        set(group "")
        foreach(octal IN LISTS octals)
            string(REGEX MATCHALL "[0-7]" digits "${octal}")
            set(value 0)
            foreach(digit IN LISTS digits)
                math(EXPR value "${value} * 8 + ${digit}")
            endforeach()
            string(APPEND group "${value} ")
        endforeach()
        string(APPEND group "${tail}")
        # The .ico's entry: width, height, colours, reserved (1 byte each), planes, bits
        # (2 bytes each), bytes (4), after the 6-byte header.
        math(EXPR at "6 + ${index} * 16")
        set(file_entry "")
        foreach(field "0 1" "1 1" "2 1" "4 2" "6 2" "8 4")
            separate_arguments(field)
            list(GET field 0 field_offset)
            list(GET field 1 field_size)
            math(EXPR field_offset "${at} + ${field_offset}")
            little_endian("${ico}" ${field_offset} ${field_size} value)
            list(APPEND file_entry ${value})
        endforeach()
        list(JOIN file_entry " " file_entry)
        math(EXPR index "${index} + 1")
        if(NOT group STREQUAL file_entry)
            problem("icon image ${index} is '${group}', in ${ICO} '${file_entry}' (width height colours planes bits bytes)")
        endif()
    endforeach()
endif()

# The application manifest: one, named 1 (the program's own), read back as text. Comments say
# nothing to Windows, so they are taken out before the checks.
string(REGEX MATCHALL "\n[0-9A-Za-z_]+ 24 /\\* RT_MANIFEST \\*/" manifests "\n${script}")
list(LENGTH manifests manifest_count)
string(FIND "${script}" "\n1 24 /* RT_MANIFEST */\nBEGIN\n" at)
if(NOT manifest_count EQUAL 1)
    problem("expected one RT_MANIFEST, found ${manifest_count}")
elseif(at LESS 0)
    problem("the manifest is not resource 1: ${manifests}")
else()
    string(SUBSTRING "${script}" ${at} -1 block)
    string(FIND "${block}" "\nEND\n" end)
    string(SUBSTRING "${block}" 0 ${end} block)
    # windres writes the bytes as C strings, a line each, with "" for a quote.
    string(REGEX MATCHALL "\n  \"[^\n]*\"" lines "${block}")
    set(xml "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^\n  \"(.*)\"$" "\\1" line "${line}")
        string(REPLACE "\"\"" "\"" line "${line}")
        string(REPLACE "\\n" " " line "${line}")
        string(REPLACE "\\t" " " line "${line}")
        string(APPEND xml "${line}")
    endforeach()
    string(REGEX REPLACE "<!--([^-]|-[^-])*-->" "" xml "${xml}")
    string(REGEX REPLACE "[ ]+" " " xml "${xml}")
    # what|text the manifest must hold
    set(expected_manifest
        "the manifest's root|<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
        "asInvoker, without UI access|<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"
        "Windows 10 and 11 supported|<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"
        "per-monitor DPI awareness, version 2|<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2</dpiAwareness>"
        "per-monitor DPI awareness for older Windows 10|<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>")
    foreach(entry IN LISTS expected_manifest)
        string(REGEX MATCH "^([^|]*)\\|(.*)$" _ "${entry}")
        set(what "${CMAKE_MATCH_1}")
        set(pattern "${CMAKE_MATCH_2}")
        string(FIND "${xml}" "${pattern}" found)
        if(found LESS 0)
            problem("the manifest does not declare ${what}")
        endif()
    endforeach()
    # The program calls no ANSI functions of its own, and the C runtime keeps its own code page:
    # a UTF-8 code page for the process would only set the two apart.
    if(xml MATCHES "activeCodePage")
        problem("the manifest sets a code page")
    endif()
    string(REGEX MATCHALL "<requestedExecutionLevel|<dpiAwareness |<dpiAware " settings "${xml}")
    list(LENGTH settings count)
    if(NOT count EQUAL 3)
        problem("the manifest sets the execution level or the DPI awareness more than once")
    endif()
endif()

list(JOIN problems "\n  " report)
if(NOT DEFINED MUTATE_REGEX)
    if(problems)
        message(FATAL_ERROR "${source} compiles to resources that are not as expected:\n  ${report}")
    endif()
    message("${source}: Italian version ${VERSION} (${numeric}), ${ico_count} icon images, the manifest")
elseif(NOT problems)
    message(FATAL_ERROR "the check accepted resources damaged by '${MUTATE_REGEX}'")
elseif(NOT report MATCHES "${EXPECT_PROBLEM}")
    message(FATAL_ERROR "the check rejected the damaged resources, but not for "
        "'${EXPECT_PROBLEM}':\n  ${report}")
else()
    message("damaged by '${MUTATE_REGEX}', rejected as expected:\n  ${report}")
endif()

# How cmake/DebianChangelog.cmake reads a Debian changelog into the metainfo's releases, on
# changelogs written here: the upstream versions newest first, each once, dated by its oldest
# entry; and a signature it cannot read stops it, naming what is wrong.
#
#   -DWORK=<scratch directory>
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/DebianChangelog.cmake)

# Run on one changelog only, by the failure cases below.
if(DEFINED PARSE_ONLY)
    numerillo_changelog_releases(${PARSE_ONLY} versions dates)
    return()
endif()

if(NOT DEFINED WORK)
    message(FATAL_ERROR "WORK not given")
endif()

# Writes a changelog of ENTRIES, each "version|date", newest first.
function(write_changelog path entries)
    set(text "")
    foreach(entry IN LISTS entries)
        string(REPLACE "|" ";" fields "${entry}")
        list(GET fields 0 version)
        list(GET fields 1 date)
        string(APPEND text "numerillo (${version}) unstable; urgency=medium\n\n"
            "  * A change.\n\n -- Numerillo developers <maintainers@numerillo.org>  ${date}\n\n")
    endforeach()
    file(WRITE ${path} "${text}")
endfunction()

set(problems "")

# name, its entries, then the versions and dates expected
set(cases one_release two_versions_revised)
set(one_release_entries "1.00|Mon, 07 Dec 2026 00:00:00 +0000")
set(one_release_versions 1.00)
set(one_release_dates 2026-12-07)
# 1.05 was released on 1 February (revision 1); its revision 2 a month later is no new release.
set(two_versions_revised_entries
    "1.05-2|Tue, 02 Mar 2027 10:00:00 +0100"
    "1.05-1|Mon, 1 Feb 2027 09:30:00 +0100"
    "1.00|Mon, 07 Dec 2026 00:00:00 +0000")
set(two_versions_revised_versions 1.05 1.00)
set(two_versions_revised_dates 2027-02-01 2026-12-07)
foreach(case IN LISTS cases)
    write_changelog(${WORK}/${case}.changelog "${${case}_entries}")
    numerillo_changelog_releases(${WORK}/${case}.changelog versions dates)
    if(NOT versions STREQUAL "${${case}_versions}" OR NOT dates STREQUAL "${${case}_dates}")
        list(APPEND problems "${case}: versions '${versions}' dated '${dates}', expected "
            "'${${case}_versions}' dated '${${case}_dates}'")
    endif()
endforeach()

# name|version|date|what the error must say
set(failures
    "month_in_italian|1.00|Lun, 07 Dic 2026 00:00:00 +0000|no such month in"
    "no_time|1.00|7 December 2026|no date in")
foreach(failure IN LISTS failures)
    string(REPLACE "|" ";" fields "${failure}")
    list(GET fields 0 name)
    list(GET fields 1 version)
    list(GET fields 2 date)
    list(GET fields 3 expected)
    write_changelog(${WORK}/${name}.changelog "${version}|${date}")
    execute_process(COMMAND ${CMAKE_COMMAND} -DPARSE_ONLY=${WORK}/${name}.changelog
            -P ${CMAKE_CURRENT_LIST_FILE}
        RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
    # CMake wraps a long error message: a space may come out as a line break.
    string(REPLACE " " "[ \n]+" pattern "${expected}")
    if(status EQUAL 0)
        list(APPEND problems "${name}: read without an error")
    elseif(NOT errors MATCHES "${pattern}")
        list(APPEND problems "${name}: the error does not say '${expected}': ${errors}")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "reading Debian changelogs:\n  ${text}")
endif()
message("Debian changelogs read as expected")

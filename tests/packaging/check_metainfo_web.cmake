# The metainfo as it will be once the project has a web page (cmake/WebPage.cmake): valid for
# appstreamcli, naming the page as homepage, and showing as screenshots pictures that the
# repository holds at those paths under docs/, of the sizes it declares. Without a page: no
# homepage and no screenshots at all.
#
#   -DAPPSTREAMCLI=<appstreamcli> -DTEMPLATE=<org.numerillo.Numerillo.metainfo.xml.in>
#   -DSOURCE_DIR=<the repository> -DWORK=<scratch directory>
cmake_minimum_required(VERSION 3.25)

foreach(var APPSTREAMCLI TEMPLATE SOURCE_DIR WORK)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()
include(${SOURCE_DIR}/cmake/WebPage.cmake)

set(problems "")
set(page https://numerillo.example)
set(metainfo_releases "    <release version=\"1.00\" date=\"2026-12-07\"/>")

# The width and height of a PNG file, from its IHDR chunk.
function(png_size path out)
    file(READ ${path} header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${header}" 0 8 width)
    string(SUBSTRING "${header}" 8 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    set(${out} "${width}x${height}" PARENT_SCOPE)
endfunction()

# With the page given with and without its final slash: the same metainfo.
foreach(given IN ITEMS ${page} ${page}/)
    numerillo_web_metainfo("${given}" metainfo_web)
    configure_file(${TEMPLATE} ${WORK}/web.metainfo.xml @ONLY)
    execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --strict ${WORK}/web.metainfo.xml
        RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
    if(NOT status EQUAL 0)
        list(APPEND problems "with the page ${given}, appstreamcli finds:\n${report}")
    endif()
    file(READ ${WORK}/web.metainfo.xml text)
    if(NOT text MATCHES "<url type=\"homepage\">${page}/</url>")
        list(APPEND problems "with the page ${given}, the homepage is not ${page}/")
    endif()
    string(REGEX MATCHALL "<image type=\"source\" width=\"[0-9]+\" height=\"[0-9]+\">[^<]*</image>"
        images "${text}")
    list(LENGTH images count)
    if(NOT count EQUAL 2)
        list(APPEND problems "with the page ${given}, ${count} screenshots rather than 2")
    endif()
    foreach(image IN LISTS images)
        string(REGEX MATCH "width=\"([0-9]+)\" height=\"([0-9]+)\">([^<]*)<" _ "${image}")
        set(declared "${CMAKE_MATCH_1}x${CMAKE_MATCH_2}")
        set(url "${CMAKE_MATCH_3}")
        string(FIND "${url}" "${page}/docs/" at)
        string(REPLACE "${page}/" "" path "${url}")
        if(NOT at EQUAL 0 OR NOT EXISTS ${SOURCE_DIR}/${path})
            list(APPEND problems "screenshot ${url} is not a picture of the repository's docs/")
            continue()
        endif()
        png_size(${SOURCE_DIR}/${path} actual)
        if(NOT actual STREQUAL declared)
            list(APPEND problems "${path} is ${actual}, the metainfo says ${declared}")
        endif()
    endforeach()
endforeach()

numerillo_web_metainfo("" metainfo_web)
configure_file(${TEMPLATE} ${WORK}/no-web.metainfo.xml @ONLY)
file(READ ${WORK}/no-web.metainfo.xml text)
if(text MATCHES "<url|<screenshot")
    list(APPEND problems "without a page, the metainfo still has a web address or a screenshot")
endif()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "the metainfo with a web page:\n  ${text}")
endif()
message("the metainfo with a web page is valid and shows docs/'s pictures")

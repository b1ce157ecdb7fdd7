# The project's web page, with the repository's docs/ published under it. There is none yet:
# until there is, the metainfo names no homepage and shows no screenshots (AppStream takes only
# web addresses for them), and Programs and Features shows no links. Given one, the metainfo
# and the Windows installer name it.
include_guard(GLOBAL)
set(NUMERILLO_WEB_PAGE "" CACHE STRING
    "The project's web page (https://...), with docs/ under it; empty while there is none")

# numerillo_web_metainfo(<page> <out>): sets <out> to the metainfo's lines for PAGE, its address
# and the README's two pictures as screenshots, from resources/metainfo-web.xml.in; to nothing
# when PAGE is empty.
function(numerillo_web_metainfo page out)
    set(text "")
    if(NOT page STREQUAL "")
        string(REGEX REPLACE "/+$" "" page "${page}")
        file(READ ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../resources/metainfo-web.xml.in template)
        string(CONFIGURE "${template}" text @ONLY)
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

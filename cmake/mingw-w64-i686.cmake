# Cross-building for Microsoft Windows (i686) with Debian's MinGW-w64: see mingw-w64.cmake.
set(NUMERILLO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

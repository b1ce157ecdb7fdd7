# Cross-building for Microsoft Windows (x86_64) with Debian's MinGW-w64: see mingw-w64.cmake.
set(NUMERILLO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

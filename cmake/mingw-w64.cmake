# Cross-building for Microsoft Windows with Debian's MinGW-w64, posix thread model, for the
# architecture NUMERILLO_MINGW_ARCH (x86_64 or i686) that the toolchain file including this one
# names. Used for the static Qt and for Numerillo itself; see scripts/build-windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${NUMERILLO_MINGW_ARCH})

set(NUMERILLO_MINGW_TRIPLET ${NUMERILLO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${NUMERILLO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NUMERILLO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${NUMERILLO_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${NUMERILLO_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${NUMERILLO_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the MinGW-w64 root and from what CMAKE_PREFIX_PATH names
# (the static Qt); programs (moc, rcc, uic) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${NUMERILLO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, the compiler's own runtime too: numerillo.exe needs no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

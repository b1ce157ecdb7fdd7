# The packages are built from debian/ (`make package`, dpkg-buildpackage) and, for Windows, by
# scripts/build-windows with cmake/WindowsInstaller.cmake: what they hold is in those files and
# in the install rules, not here.

# The program is linked with full RELRO: the dynamic linker resolves every symbol at start-up
# and then makes the relocated data read-only. The Debian build asks for the same through
# dpkg-buildflags; this keeps it for every other build too.
if(UNIX AND NOT APPLE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_link_options(numerillo PRIVATE LINKER:-z,relro LINKER:-z,now)
endif()

# numerillo.exe carries no link time: with binutils' default, each link writes its own time
# into the PE header, and two builds of the same sources differ there.
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_link_options(numerillo PRIVATE LINKER:--no-insert-timestamp)
endif()

# The Debian package, built with `cmake --build build --target package` (or `cpack -G DEB`
# in the build tree): the program, its menu entry, its metainfo, its icons, its manual page,
# its changelog and its copyright file under /usr.

set(CPACK_PACKAGE_NAME numerillo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Numerillo developers")
set(CPACK_PACKAGE_CONTACT "Numerillo developers <maintainers@numerillo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multiplication tables practice for children")
# Each line of the description becomes a line of the package's long description, which
# package tools show as is: at most 80 columns, the leading space included.
set(CPACK_PACKAGE_DESCRIPTION
    "Numerillo helps a child learn the multiplication tables from 0 to 9.
It shows ten multiplications at a time; the child types the answers and
checks them. Wrong answers are cleared so they can be tried again, and
when all ten are right ten new ones follow. The program is in Italian.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Numerillo developers <maintainers@numerillo.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps works out the libraries the program links to. Qt loads its platform
# plugins (xcb, wayland) at run time, so no linker dependency names them: without
# qt6-qpa-plugins the program cannot open a window.
# The windows ask for Comic Sans MS; Comic Neue is the free font that stands in for it on
# Debian, so the package depends on it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-comic-neue")

# The packaged program is linked with full RELRO: the dynamic linker resolves every symbol
# at start-up and then makes the relocated data read-only.
if(UNIX AND NOT APPLE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_link_options(numerillo PRIVATE LINKER:-z,relro LINKER:-z,now)
endif()

# The Debian package installs under /usr. The prefix is set for that generator alone, through
# the file cpack reads once per generator: set here, it would also put the source package's
# files under usr/.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/NumerilloCPackOptions.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} [[
# Written by cmake/Packaging.cmake: cpack's settings for each generator.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
]])

# The source package (`package_source`) holds the repository's files, without the build
# trees that sit beside them or the version control's own.
string(REGEX REPLACE "([][.*+?^$()|\\])" "\\\\\\1" source_dir_regex "${PROJECT_SOURCE_DIR}")
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME numerillo-${PROJECT_VERSION})
set(CPACK_SOURCE_IGNORE_FILES "^${source_dir_regex}/build[^/]*/" "/\\.git/" "~$")
# CPack copies the values into its configuration files without escaping backslashes.
string(REPLACE "\\" "\\\\" CPACK_SOURCE_IGNORE_FILES "${CPACK_SOURCE_IGNORE_FILES}")

include(CPack)

# Included by the checks of the Debian package: sets `deb` to the one package in DEB_DIR, where
# build_deb.cmake puts it.
file(GLOB deb "${DEB_DIR}/*.deb")
list(LENGTH deb count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb in ${DEB_DIR}, found ${count}")
endif()

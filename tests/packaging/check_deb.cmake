# Checks the Debian package's control fields and its file list.
#
#   -DDPKG_DEB=<dpkg-deb> -DDEB=<the package> -DAPP_ID=<reverse-DNS id>
#   -DVERSION=<the package's version>
# scripts/build-deb runs it on the package it builds.
cmake_minimum_required(VERSION 3.25)

foreach(var DPKG_DEB DEB APP_ID VERSION)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()

set(deb "${DEB}")

set(problems "")
macro(problem text)
    list(APPEND problems "${text}")
endmacro()

function(control_field name out)
    execute_process(COMMAND "${DPKG_DEB}" --field "${deb}" ${name}
        OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "dpkg-deb cannot read ${deb}")
    endif()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

control_field(Package package)
control_field(Version version)
control_field(Depends depends)
control_field(Maintainer maintainer)
if(NOT package STREQUAL "numerillo")
    problem("Package is '${package}'")
endif()
if(NOT version STREQUAL VERSION)
    problem("Version is '${version}', the project is ${VERSION}")
endif()
if(maintainer STREQUAL "")
    problem("no Maintainer")
endif()
# Qt's libraries come from dpkg-shlibdeps; the platform plugins it cannot see and the font
# the windows are drawn with are listed by hand.
foreach(dependency libc6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins
                   fonts-comic-neue)
    if(NOT depends MATCHES "(^|, )${dependency}( |,|$)")
        problem("Depends lacks ${dependency}: ${depends}")
    endif()
endforeach()
# The program draws its pictures itself: it needs no SVG library.
if(depends MATCHES "svg")
    problem("Depends names an SVG library: ${depends}")
endif()

execute_process(COMMAND "${DPKG_DEB}" --contents "${deb}" OUTPUT_VARIABLE listing)
string(REGEX REPLACE "[^\n]* \\./" "" listing "${listing}")
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" paths "${listing}")
foreach(path usr/bin/numerillo
             "usr/share/applications/${APP_ID}.desktop"
             "usr/share/metainfo/${APP_ID}.metainfo.xml"
             "usr/share/icons/hicolor/48x48/apps/${APP_ID}.png"
             "usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg"
             usr/share/man/man1/numerillo.1.gz
             usr/share/doc/numerillo/copyright
             usr/share/doc/numerillo/changelog.gz)
    if(NOT path IN_LIST paths)
        problem("the package lacks /${path}")
    endif()
endforeach()
foreach(path IN LISTS paths)
    if(NOT path MATCHES "(^|/)$" AND NOT path MATCHES "^usr/(bin|share)/")
        problem("the package holds /${path}, outside /usr/bin and /usr/share")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "${deb}:\n  ${text}")
endif()
message("${deb}: ${package} ${version}\n  Depends: ${depends}")

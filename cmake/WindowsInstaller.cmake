# The Windows installer: an MSI package per architecture, built with wixl (Debian package wixl,
# from msitools) from resources/windows/numerillo.wxs.in.
#
include(${CMAKE_CURRENT_LIST_DIR}/WebPage.cmake)
find_program(WIXL wixl DOC "wixl, which builds MSI packages (Debian package wixl)")
find_program(MSIBUILD msibuild
    DOC "msibuild, which sets the package code (Debian package msitools)")
find_program(FAKETIME faketime DOC "faketime, which gives wixl its clock (Debian package faketime)")

# numerillo_msi_source(OUT ARCH VERSION PAGE): writes the package source for ARCH (x86_64 or
# i686) and VERSION (as in project(): 1.00) to OUT, with the web page PAGE (or none, when
# empty) as Programs and Features' links, and sets msi_package_code to its package code.
#
# The product code follows from the upgrade code, the version and the architecture: the same
# package built twice is the same product, which Windows installs once however often it is
# asked, and every version or architecture is a product of its own. So does the package code,
# which names the file: the same package built twice is the same file. The components' codes
# follow from the upgrade code and the architecture, since a component stays the same file in
# the same place from one version to the next.
function(numerillo_msi_source out arch version page)
    # The two architectures share one upgrade code: Numerillo is one program, with one
    # Start-menu shortcut and one entry in Programs and Features, so installing the package of
    # either architecture replaces whatever Numerillo is installed, the other architecture's
    # too. Two upgrade codes would let both stand side by side under the same name, each owning
    # the same shortcut. The code never changes.
    set(upgrade 83A2714C-B025-4D7A-BCF1-525C3F6CF6A9)
    if(arch STREQUAL "x86_64")
        set(msi_program_files ProgramFiles64Folder)
        set(msi_win64 yes)
    elseif(arch STREQUAL "i686")
        set(msi_program_files ProgramFilesFolder)
        set(msi_win64 no)
    else()
        message(FATAL_ERROR "numerillo_msi_source: no Windows installer for '${arch}'")
    endif()
    # Windows Installer reads up to three numbers; the version just above this one (1.00 ->
    # 1.0.1) is below the next two-part version (1.01 is 1.1).
    if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)(\\.([0-9]+))?$")
        message(FATAL_ERROR "numerillo_msi_source: '${version}' is not a version Windows Installer reads")
    endif()
    set(third 0)
    if(CMAKE_MATCH_4)
        set(third ${CMAKE_MATCH_4})
    endif()
    math(EXPR major "${CMAKE_MATCH_1}")
    math(EXPR minor "${CMAKE_MATCH_2}")
    math(EXPR third "${third} + 1")
    set(msi_version_above ${major}.${minor}.${third})

    set(msi_arch ${arch})
    set(msi_version ${version})
    set(msi_upgrade_code ${upgrade})
    string(UUID msi_product_code NAMESPACE ${upgrade} NAME "product ${version} ${arch}"
        TYPE SHA1 UPPER)
    string(UUID msi_package_code NAMESPACE ${upgrade} NAME "package ${version} ${arch}"
        TYPE SHA1 UPPER)
    set(msi_package_code ${msi_package_code} PARENT_SCOPE)
    foreach(component program licence)
        string(UUID msi_${component}_component NAMESPACE ${upgrade}
            NAME "component ${component} ${arch}" TYPE SHA1 UPPER)
    endforeach()
    set(msi_links "")
    if(NOT page STREQUAL "")
        foreach(property ARPURLINFOABOUT ARPHELPLINK)
            string(APPEND msi_links "\n    <Property Id=\"${property}\" Value=\"${page}\"/>")
        endforeach()
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/numerillo.wxs.in ${out} @ONLY)
endfunction()

# numerillo_msi(OUTPUT <package.msi> ARCH <x86_64|i686> VERSION <version> PROGRAM <exe>
#               [WEB_PAGE <https://...>] [SIGN] [DEPENDS <target or file>...])
# Builds the package at build time, with PROGRAM as numerillo.exe, the icon and LICENSE, through
# cmake/BuildMsi.cmake: the same sources and SOURCE_DATE_EPOCH give the same bytes. With SIGN,
# scripts/sign-windows then signs it, where the build's environment gives a key. WEB_PAGE is
# NUMERILLO_WEB_PAGE unless given.
function(numerillo_msi)
    cmake_parse_arguments(PARSE_ARGV 0 arg "SIGN" "OUTPUT;ARCH;VERSION;PROGRAM;WEB_PAGE" "DEPENDS")
    if(NOT DEFINED arg_WEB_PAGE)
        set(arg_WEB_PAGE "${NUMERILLO_WEB_PAGE}")
    endif()
    foreach(tool WIXL MSIBUILD FAKETIME)
        if(NOT ${tool})
            message(FATAL_ERROR
                "numerillo_msi: ${tool} not found (Debian packages wixl, msitools, faketime)")
        endif()
    endforeach()
    get_filename_component(name ${arg_OUTPUT} NAME_WLE)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${name}-source)
    numerillo_msi_source(${dir}/numerillo.wxs ${arg_ARCH} ${arg_VERSION} "${arg_WEB_PAGE}")
    if(arg_ARCH STREQUAL "x86_64")
        set(wixl_arch x64)
        set(template "x64;1033")
    else()
        set(wixl_arch x86)
        set(template "Intel;1033")
    endif()
    set(icon ${PROJECT_SOURCE_DIR}/resources/icons/numerillo.ico)
    set(licence ${PROJECT_SOURCE_DIR}/LICENSE)
    set(sign "")
    if(arg_SIGN)
        set(sign COMMAND ${PROJECT_SOURCE_DIR}/scripts/sign-windows ${arg_OUTPUT})
    endif()
    # The summary's subject and author, as wixl writes them from the package source.
    add_custom_command(OUTPUT ${arg_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -DWIXL=${WIXL} -DMSIBUILD=${MSIBUILD} -DFAKETIME=${FAKETIME}
            -DWXS=${dir}/numerillo.wxs -DOUTPUT=${arg_OUTPUT} -DWIXL_ARCH=${wixl_arch}
            -DPROGRAM=${arg_PROGRAM} -DICON=${icon} -DLICENCE=${licence}
            -DPACKAGE_CODE=${msi_package_code}
            "-DSUBJECT=Numerillo ${arg_VERSION} (${arg_ARCH})" "-DAUTHOR=Numerillo developers"
            "-DTEMPLATE=${template}" -P ${PROJECT_SOURCE_DIR}/cmake/BuildMsi.cmake
        ${sign}
        DEPENDS ${dir}/numerillo.wxs ${PROJECT_SOURCE_DIR}/resources/windows/numerillo.wxs.in
            ${PROJECT_SOURCE_DIR}/cmake/BuildMsi.cmake
            ${arg_PROGRAM} ${icon} ${licence} ${arg_DEPENDS}
        COMMENT "Building the Windows installer ${name}.msi"
        VERBATIM)
endfunction()

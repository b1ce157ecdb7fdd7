# Reads a Windows installer (MSI) back with msitools and checks what Windows Installer will do
# with it: the product and its version, the files and where they go, the Start-menu shortcut,
# the entry in Programs and Features, and the upgrade rule.
#
#   -DMSIINFO=<msiinfo> -DMSIEXTRACT=<msiextract> -DMSI=<package.msi>
#   -DARCH=<x86_64|i686> -DVERSION=<project version>
#   -DPROGRAM=<the file packaged as numerillo.exe> -DLICENSE=<LICENSE> -DICO=<numerillo.ico>
#   -DWORK=<scratch directory>
#   [-DUPGRADE_CODE=<GUID>]           the upgrade code it must have
#   [-DPACKAGE_CODE=<GUID>]           the package code it must have
#   [-DWEB_PAGE=<https://...>]        the page Programs and Features must link to (else none)
#   [-DOTHER_MSI=<package>]           the other architecture's, whose upgrade code it must share
cmake_minimum_required(VERSION 3.25)

foreach(var MSIINFO MSIEXTRACT MSI ARCH VERSION PROGRAM LICENSE ICO WORK)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} not given")
    endif()
endforeach()
if(NOT EXISTS "${MSI}")
    message(FATAL_ERROR "no package ${MSI}")
endif()

set(problems "")
macro(problem text)
    list(APPEND problems "${text}")
endmacro()

# The rows of TABLE in PACKAGE, each with its fields joined by '|' (msiinfo's first three lines
# name the columns, their types and the keys).
function(read_table package table out)
    execute_process(COMMAND "${MSIINFO}" export "${package}" ${table}
        RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "msiinfo cannot read table ${table} of ${package}: ${errors}")
    endif()
    string(REPLACE ";" "," text "${text}")
    string(REPLACE "\t" "|" text "${text}")
    string(REPLACE "\r" "" text "${text}")
    string(REGEX REPLACE "\n$" "" text "${text}")
    string(REPLACE "\n" ";" rows "${text}")
    list(SUBLIST rows 3 -1 rows)
    set(${out} "${rows}" PARENT_SCOPE)
endfunction()

# The value of property NAME, or "(none)".
function(property_of package name out)
    read_table("${package}" Property rows)
    set(value "(none)")
    foreach(row IN LISTS rows)
        if(row MATCHES "^${name}\\|(.*)$")
            set(value "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

if(ARCH STREQUAL "x86_64")
    set(template "x64;1033")
    set(program_files ProgramFiles64Folder)
    set(component_attributes 256) # msidbComponentAttributes64bit
elseif(ARCH STREQUAL "i686")
    set(template "Intel;1033")
    set(program_files ProgramFilesFolder)
    set(component_attributes 0)
else()
    message(FATAL_ERROR "ARCH must be x86_64 or i686, not ${ARCH}")
endif()

# --- the package: its platform, and the product -------------------------------------------
execute_process(COMMAND "${MSIINFO}" suminfo "${MSI}" RESULT_VARIABLE status OUTPUT_VARIABLE summary)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "msiinfo cannot read the summary of ${MSI}")
endif()
if(NOT summary MATCHES "\nTemplate: ([^\n]*)\n" OR NOT CMAKE_MATCH_1 STREQUAL template)
    problem("the package is for '${CMAKE_MATCH_1}', expected '${template}'")
endif()

if(DEFINED PACKAGE_CODE AND (NOT summary MATCHES "\nRevision number \\(UUID\\): \\{([^\n]*)\\}\n"
                             OR NOT CMAKE_MATCH_1 STREQUAL PACKAGE_CODE))
    problem("the package code is '${CMAKE_MATCH_1}', expected ${PACKAGE_CODE}")
endif()

set(guid "\\{[0-9A-F]+-[0-9A-F]+-[0-9A-F]+-[0-9A-F]+-[0-9A-F]+\\}")
if(DEFINED UPGRADE_CODE)
    string(TOUPPER "\\{${UPGRADE_CODE}\\}" upgrade_pattern)
else()
    set(upgrade_pattern "${guid}")
endif()
# The project's page, or no link at all rather than one to somebody else's.
set(links "\\(none\\)")
if(DEFINED WEB_PAGE)
    string(REGEX REPLACE "([][.*+?^$()|\\])" "\\\\\\1" links "${WEB_PAGE}")
endif()
# name|value; the values are regular expressions
set(expected_properties
    "ProductName|Numerillo"
    "ProductVersion|${VERSION}"
    "Manufacturer|Numerillo developers"
    "UpgradeCode|${upgrade_pattern}"
    "ProductCode|${guid}"
    "ALLUSERS|1"
    "ARPPRODUCTICON|numerillo\\.ico"
    "ARPURLINFOABOUT|${links}"
    "ARPHELPLINK|${links}"
    "ARPCOMMENTS|.*GNU General Public License versione 3 o successiva.*"
    "ARPNOMODIFY|1")
foreach(entry IN LISTS expected_properties)
    string(REGEX MATCH "^([^|]*)\\|(.*)$" _ "${entry}")
    set(name "${CMAKE_MATCH_1}")
    set(pattern "${CMAKE_MATCH_2}")
    property_of("${MSI}" ${name} value)
    if(NOT value MATCHES "^${pattern}$")
        problem("property ${name} is '${value}', expected '${pattern}'")
    endif()
endforeach()
property_of("${MSI}" ProductCode product_code)
property_of("${MSI}" UpgradeCode upgrade_code)

# --- where the files go ---------------------------------------------------------------------
read_table("${MSI}" Directory directories)
list(FIND directories "INSTALLDIR|${program_files}|Numerillo" at)
if(at LESS 0)
    problem("no folder Numerillo in ${program_files}: ${directories}")
endif()
read_table("${MSI}" Component components)
read_table("${MSI}" File files)
# file id|name in the folder|the source it must hold
foreach(entry "numerillo.exe|numerillo.exe|${PROGRAM}" "LICENSE.txt|LICENSE.txt|${LICENSE}")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 id)
    list(GET entry 1 name)
    list(GET entry 2 source)
    file(SIZE "${source}" size)
    set(found "")
    foreach(row IN LISTS files)
        if(row MATCHES "^${id}\\|([^|]*)\\|${name}\\|${size}\\|")
            set(found "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    if(NOT found)
        problem("no file ${name} of ${size} bytes in the File table: ${files}")
        continue()
    endif()
    # Its component: in INSTALLDIR, 64-bit on x86_64, kept by this very file.
    set(component_ok FALSE)
    foreach(row IN LISTS components)
        if(row MATCHES "^${found}\\|\\{[0-9A-F-]+\\}\\|INSTALLDIR\\|${component_attributes}\\|\\|${id}$")
            set(component_ok TRUE)
        endif()
    endforeach()
    if(NOT component_ok)
        problem("component ${found} of ${name} is not in INSTALLDIR with attributes ${component_attributes} and the file as key: ${components}")
    endif()
endforeach()

# The files themselves, as Windows Installer would unpack them.
set(unpacked "${WORK}/unpacked-${ARCH}")
file(REMOVE_RECURSE "${unpacked}")
file(MAKE_DIRECTORY "${unpacked}")
execute_process(COMMAND "${MSIEXTRACT}" -C "${unpacked}" "${MSI}"
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    problem("msiextract cannot unpack the package: ${errors}")
endif()
file(GLOB_RECURSE unpacked_files RELATIVE "${unpacked}" "${unpacked}/*")
list(SORT unpacked_files)
# Two files in a folder Numerillo (msiextract names the program files folders its own way; the
# Directory table above tells which it is).
list(TRANSFORM unpacked_files REPLACE "^(.*/)?Numerillo/" "" OUTPUT_VARIABLE names)
list(GET unpacked_files 0 folder)
get_filename_component(folder "${folder}" DIRECTORY)
if(NOT names STREQUAL "LICENSE.txt;numerillo.exe" OR NOT folder MATCHES "(^|/)Numerillo$")
    problem("the package unpacks to '${unpacked_files}', expected LICENSE.txt and numerillo.exe in a folder Numerillo")
else()
    foreach(pair "numerillo.exe|${PROGRAM}" "LICENSE.txt|${LICENSE}")
        string(REPLACE "|" ";" pair "${pair}")
        list(GET pair 0 name)
        list(GET pair 1 source)
        file(SHA256 "${unpacked}/${folder}/${name}" packed_hash)
        file(SHA256 "${source}" source_hash)
        if(NOT packed_hash STREQUAL source_hash)
            problem("${name} in the package is not ${source}")
        endif()
    endforeach()
endif()

# --- the Start-menu shortcut and Programs and Features ---------------------------------------
read_table("${MSI}" Shortcut shortcuts)
# Shortcut|Directory_|Name|Component_|Target|Arguments|Description|Hotkey|Icon_|IconIndex|ShowCmd|WkDir
if(NOT shortcuts MATCHES "^[^|]+\\|ProgramMenuFolder\\|Numerillo\\|Program\\|\\[#numerillo\\.exe\\]\\|\\|[^|]+\\|\\|\\|\\|\\|INSTALLDIR\\|")
    problem("expected one shortcut Numerillo in the Start menu to [#numerillo.exe], in INSTALLDIR, with the program's own icon: ${shortcuts}")
endif()
# The icon of Programs and Features is the program's.
execute_process(COMMAND "${MSIINFO}" extract "${MSI}" Icon.numerillo.ico
    RESULT_VARIABLE status OUTPUT_FILE "${WORK}/icon-${ARCH}.ico")
file(SHA256 "${WORK}/icon-${ARCH}.ico" packed_hash)
file(SHA256 "${ICO}" icon_hash)
if(NOT status EQUAL 0 OR NOT packed_hash STREQUAL icon_hash)
    problem("the icon numerillo.ico in the package is not ${ICO}")
endif()

# --- the upgrade rule -------------------------------------------------------------------------
# UpgradeCode|VersionMin|VersionMax|Language|Attributes|Remove|ActionProperty. Attributes: 2
# only detects, 256 includes the minimum, 512 the maximum. One row must remove every version up
# to and with this one; the other must detect the later ones only, and stop the installation.
read_table("${MSI}" Upgrade upgrades)
read_table("${MSI}" LaunchCondition conditions)
list(TRANSFORM conditions REPLACE "\\|.*" "")
set(removes FALSE)
set(stops FALSE)
foreach(row IN LISTS upgrades)
    string(REPLACE "|" ";" fields "${row}|")
    list(GET fields 0 code)
    list(GET fields 1 low)
    list(GET fields 2 high)
    list(GET fields 4 attributes)
    list(GET fields 6 property)
    if(NOT code STREQUAL upgrade_code)
        problem("upgrade row for another product: ${row}")
        continue()
    endif()
    math(EXPR only_detect "${attributes} & 2")
    math(EXPR with_low "${attributes} & 256")
    math(EXPR with_high "${attributes} & 512")
    if(only_detect)
        # From just above this version on, and the installation stops on them.
        if(high STREQUAL "" AND with_low AND low VERSION_GREATER VERSION
           AND "NOT ${property}" IN_LIST conditions)
            set(stops TRUE)
        endif()
    elseif(low VERSION_EQUAL 0 AND with_low AND
           (high VERSION_GREATER VERSION OR (with_high AND high VERSION_EQUAL VERSION)))
        set(removes TRUE)
    endif()
endforeach()
list(LENGTH conditions count)
if(NOT count EQUAL 1)
    problem("expected one launch condition, the one on a later version: ${conditions}")
endif()
if(NOT removes)
    problem("no upgrade row removes every earlier Numerillo and this version of the other architecture: ${upgrades}")
endif()
if(NOT stops)
    problem("no upgrade row stops the installation over a later Numerillo: ${upgrades}")
endif()
# The old product goes after the checks and before this one is installed.
read_table("${MSI}" InstallExecuteSequence sequence)
foreach(action FindRelatedProducts LaunchConditions InstallValidate RemoveExistingProducts InstallInitialize)
    set(${action} -1)
    foreach(row IN LISTS sequence)
        if(row MATCHES "^${action}\\|[^|]*\\|([0-9]+)$")
            set(${action} ${CMAKE_MATCH_1})
        endif()
    endforeach()
endforeach()
if(NOT (FindRelatedProducts GREATER -1 AND FindRelatedProducts LESS LaunchConditions AND
        InstallValidate LESS RemoveExistingProducts AND RemoveExistingProducts LESS InstallInitialize))
    problem("actions out of order: FindRelatedProducts ${FindRelatedProducts}, LaunchConditions "
        "${LaunchConditions}, InstallValidate ${InstallValidate}, RemoveExistingProducts "
        "${RemoveExistingProducts}, InstallInitialize ${InstallInitialize}")
endif()

# --- the other architecture's package: the same upgrade code, another product -----------------
if(DEFINED OTHER_MSI)
    property_of("${OTHER_MSI}" UpgradeCode other_upgrade)
    property_of("${OTHER_MSI}" ProductCode other_product)
    if(NOT other_upgrade STREQUAL upgrade_code)
        problem("the other architecture's package has upgrade code ${other_upgrade}")
    endif()
    if(other_product STREQUAL product_code)
        problem("both architectures' packages are product ${product_code}")
    endif()
endif()

if(problems)
    list(JOIN problems "\n  " report)
    message(FATAL_ERROR "${MSI} is not as expected:\n  ${report}")
endif()
message("${MSI}: Numerillo ${VERSION} for ${ARCH}, product ${product_code}, upgrade code ${upgrade_code}")

# CPack: a Debian package (scripts/package builds and checks it) and, on Windows, an NSIS installer.
set(CPACK_PACKAGE_NAME ktlink)
set(CPACK_PACKAGE_VENDOR "ktlink developers")
set(CPACK_PACKAGE_CONTACT "ktlink developers <ktlink@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "data link between a PC and KT total stations")
set(CPACK_PACKAGE_DESCRIPTION
    "ktlink talks to one KT-family total station at a time over a serial port,
by cable or over a Bluetooth serial link. It receives coordinate points and
measured data into a point table or copies whole jobs between the instrument
and PC folders, saves and converts coordinate text files, exports XLSX
workbooks and DXF drawings, reads files back and sends points to the
instrument.

The package also holds ktconvert, which converts coordinate files between
the formats on the command line.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ktlink)
# GPL-3.0-or-later: the installer shows the licence before it installs.
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR NSIS)
else()
    set(CPACK_GENERATOR DEB)
endif()

# Debian package.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds the libraries (GDAL, PROJ among them); the data they read at run time are
# packages of their own: PROJ's database of coordinate systems and GDAL's driver data. Qt 6 keeps the
# platform plug-ins (xcb) in a package of their own; the Chinese texts need a CJK font, the Arabic ones
# (and the report's PDF, which embeds the fonts it uses) Noto's.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "proj-data, gdal-data")
if(TARGET Qt6::Core)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, fonts-noto-core")

# Windows installer: ktlink in Program Files, a start-menu shortcut and an uninstaller.
if(WIN32)
    # the compiler's runtime DLLs, into the installed folder
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
    include(InstallRequiredSystemLibraries)
endif()
set(CPACK_NSIS_PACKAGE_NAME ktlink)
set(CPACK_NSIS_DISPLAY_NAME ktlink)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES ktlink ktlink)
set(CPACK_NSIS_INSTALLED_ICON_NAME ktlink.exe)
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/dist/windows/ktlink.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/dist/windows/ktlink.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

include(CPack)

# Debian packages, one per install component: cpack -G DEB in a build directory configured
# with CMAKE_INSTALL_PREFIX=/usr (scripts/package.sh does it all, and checks the result).
#   libzentavo<SOVERSION>  runtime      the shared library under its SONAME
#   libzentavo-dev         development  headers, CMake package configuration, libzentavo.so
#   zentavo                tool         the command-line tool and its manual page

set(ZENTAVO_PACKAGE_MAINTAINER "Zentavo developers <packages@zentavo.example>"
    CACHE STRING "Maintainer field of the Debian packages")
set(ZENTAVO_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the packages (the part after the version)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentavo)
set(CPACK_PACKAGE_VENDOR "Zentavo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

set(CPACK_COMPONENTS_ALL runtime development)
if(TARGET zentavo-tool)
    list(APPEND CPACK_COMPONENTS_ALL tool)
endif()
set(CPACK_DEB_COMPONENT_INSTALL ON)

set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "vehicle valuation report library (shared library)
Zentavo core is the library of a desktop application that appraisers use to
value motor vehicles under Russian valuation practice. It keeps one evaluation
as a zip file of named text values (tags), renders DOCX, ODT and text report
templates, reconciles valuation approaches, keeps a local SQLite catalog
database and refreshes it from network feeds.

This package holds the shared library.")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "vehicle valuation report library (development files)
Zentavo core is the library of a desktop application that appraisers use to
value motor vehicles under Russian valuation practice.

This package holds the headers and the CMake package configuration:
find_package(Zentavo) and link Zentavo::zentavo.")
set(CPACK_COMPONENT_TOOL_DESCRIPTION
    "command-line host of the Zentavo vehicle valuation library
zentavo creates and edits evaluation files, shows their tags as report
templates resolve them, checks templates, renders DOCX, ODT and text report
templates into documents, and refreshes the catalog database from the network.")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_TOOL_DEPENDS runtime)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZENTAVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZENTAVO_PACKAGE_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# Dependencies on the shared libraries the binaries link, as dpkg-shlibdeps finds them;
# the tool's link to libzentavo is found in the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libzentavo${ZENTAVO_SOVERSION})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# A shlibs file, so that packages built on the library depend on it; only the runtime
# package holds a shared library. The trigger has ldconfig run once the library is in place.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Loaded at run time, so dpkg-shlibdeps cannot see it: the catalog database's SQL driver.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libqt6sql6-sqlite")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libzentavo-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# What ZentavoConfig.cmake's find_dependency calls need: Qt's Core, Gui, Network and Sql
# CMake packages, and QuaZip's.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev (>= 6.4), libquazip1-qt6-dev (>= 1.0)")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME zentavo)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
# render --pdf converts the documents with LibreOffice.
set(CPACK_DEBIAN_TOOL_PACKAGE_SUGGESTS "libreoffice-writer-nogui")

include(CPack)

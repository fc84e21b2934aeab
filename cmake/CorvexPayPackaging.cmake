# Debian packages, three per Qt major, from one `cpack -G DEB` in the build folder:
#   corvexpay[-qt6]         runtime: the plug-in module and the model library (translations are
#                           embedded in the module)
#   corvexpay[-qt6]-dev     host development: host headers, the CMake package, the library's link
#   corvexpay[-qt6]-demo    corvex-terminal, corvex-service, their data and a desktop entry
# The Qt 5 and Qt 6 runtime and development packages share no file and install side by side; the
# two demo packages carry the same programs and replace each other.
# Configure with -DCMAKE_INSTALL_PREFIX=/usr so that the libraries land in Debian's multiarch
# folder; scripts/package.sh does that.

set(corvex_deb_name corvexpay${CORVEX_QT_SUFFIX})
if(CORVEX_QT_MAJOR STREQUAL "6")
    set(corvex_deb_other corvexpay)
    set(corvex_deb_qt_dev "qt6-base-dev (>= 6.2), qt6-5compat-dev")
    # Qt 6 keeps its platform plug-ins apart from the Gui library.
    set(corvex_deb_qt_demo "qt6-qpa-plugins")
    set(corvex_deb_qt_translations qt6-translations-l10n)
else()
    set(corvex_deb_other corvexpay-qt6)
    set(corvex_deb_qt_dev "qtbase5-dev (>= 5.15)")
    set(corvex_deb_qt_demo "")
    set(corvex_deb_qt_translations qttranslations5-l10n)
endif()

set(CPACK_PACKAGE_NAME CorvexPay${CORVEX_QT_SUFFIX})
set(CPACK_PACKAGE_VENDOR "Corvex")
# Set the real address for a release: lintian wants a routable mail domain.
set(CORVEX_DEB_MAINTAINER "Corvex <packages@corvex.example>" CACHE STRING
    "Maintainer of the Debian packages")
set(CPACK_PACKAGE_CONTACT "${CORVEX_DEB_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime development demo)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# The development and demo packages depend on the runtime package of the same version.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies on shared libraries come from dpkg-shlibdeps; the runtime package declares the
# model library's soname for the packages that link it, and triggers ldconfig.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The demo's programs link the model library of the runtime package. dpkg-shlibdeps runs in each
# package's staging folder, where the runtime package's is a sibling.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "../runtime/usr/${CMAKE_INSTALL_LIBDIR}")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${corvex_deb_name})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# ldconfig runs by trigger, as Debian asks of a package with a shared library.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "Corvex payment plug-in for self-service terminals (Qt ${CORVEX_QT_MAJOR})
The plug-in module that a terminal's host application loads with QPluginLoader
to take payments to the Corvex credit-repayment service, and the model library
of payment value types that the host and the plug-in share. The English and
Russian texts are built into the module.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${corvex_deb_name}-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${corvex_deb_qt_dev}")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "Corvex payment plug-in - host development files (Qt ${CORVEX_QT_MAJOR})
What a terminal's host application is built against: the interfaces
IPayByProvider and IPayDialog, the headers and the link of the model library,
and the CMake package that find_package(CorvexPay) reads. It tells where the
plug-in module is installed.")

set(CPACK_DEBIAN_DEMO_PACKAGE_NAME ${corvex_deb_name}-demo)
set(CPACK_DEBIAN_DEMO_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_DEMO_PACKAGE_DEPENDS "${corvex_deb_qt_demo}")
set(CPACK_DEBIAN_DEMO_PACKAGE_RECOMMENDS "${corvex_deb_qt_translations}")
set(CPACK_DEBIAN_DEMO_PACKAGE_CONFLICTS ${corvex_deb_other}-demo)
set(CPACK_DEBIAN_DEMO_PACKAGE_REPLACES ${corvex_deb_other}-demo)
set(CPACK_COMPONENT_DEMO_DEPENDS runtime)
set(CPACK_DEBIAN_DEMO_DESCRIPTION
    "Corvex payment plug-in - demo terminal and service (Qt ${CORVEX_QT_MAJOR})
corvex-terminal, a terminal host that loads the installed plug-in and runs a
payment, by hand or along a scripted road, and corvex-service, a simulated
Corvex service on a WebSocket, with their terminal and service files.")

# Every package carries its copyright file and changelog, as Debian asks.
set(corvex_deb_docs ${CMAKE_BINARY_DIR}/debian-docs)
file(MAKE_DIRECTORY ${corvex_deb_docs})
foreach(component runtime development demo)
    string(TOUPPER ${component} upper)
    set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
    set(CORVEX_DEB_PACKAGE ${package})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog
        ${corvex_deb_docs}/${package}/changelog @ONLY)
    # gzip -n: no name or time stamp in the archive, so the package is reproducible.
    add_custom_command(OUTPUT ${corvex_deb_docs}/${package}/changelog.gz
        COMMAND gzip -9nkf ${corvex_deb_docs}/${package}/changelog
        DEPENDS ${corvex_deb_docs}/${package}/changelog
        VERBATIM)
    list(APPEND corvex_deb_changelogs ${corvex_deb_docs}/${package}/changelog.gz)
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
        ${corvex_deb_docs}/${package}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()
add_custom_target(corvex_deb_docs ALL DEPENDS ${corvex_deb_changelogs})

include(CPack)

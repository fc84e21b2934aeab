# Installs the project into a fresh prefix, checks that the package holds the host headers and
# nothing private, builds the demo host from that prefix alone as a terminal maker would, runs
# both that host and the installed one without naming the plug-in, and pays a scripted road with
# the installed plug-in.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... [-DBUILD_TYPE=...] [-DCXX_FLAGS=...]
#         [-DLAUNCHER=...] -P hostpackage.cmake
cmake_minimum_required(VERSION 3.16)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
        ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ARGN}\nfailed (${result}):\n${output}")
    endif()
    set(last_output "${output}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

include(GNUInstallDirs)
set(plugin_dir ${prefix}/${CMAKE_INSTALL_LIBDIR}/corvexpay/plugins/paybyprovider)
foreach(file
        ${CMAKE_INSTALL_INCLUDEDIR}/corvexpay/ipaybyprovider.h
        ${CMAKE_INSTALL_INCLUDEDIR}/corvexpay/ipaydialog.h
        ${CMAKE_INSTALL_INCLUDEDIR}/corvexpay/payment.h
        ${CMAKE_INSTALL_LIBDIR}/cmake/CorvexPay/CorvexPayConfig.cmake
        ${CMAKE_INSTALL_LIBDIR}/cmake/CorvexPay/CorvexPayConfigVersion.cmake
        ${CMAKE_INSTALL_LIBDIR}/corvexpay/plugins/paybyprovider/libcorvexpay.so
        ${CMAKE_INSTALL_BINDIR}/corvex-terminal
        ${CMAKE_INSTALL_BINDIR}/corvex-service
        ${CMAKE_INSTALL_DATADIR}/corvexpay/terminal.json
        ${CMAKE_INSTALL_DATADIR}/corvexpay/service.json)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "the installation lacks ${file}")
    endif()
endforeach()
# The plug-in's own headers stay private.
foreach(private corvexhandler.h corvexpaywizard.h icxwizardpage.h cxwpmsgsender.h saturating.h
        bitflags.h)
    if(EXISTS ${prefix}/${CMAKE_INSTALL_INCLUDEDIR}/corvexpay/${private})
        message(FATAL_ERROR "the installation exposes the private header ${private}")
    endif()
endforeach()

# The demo host, from its sources and the prefix alone.
set(configure ${CMAKE_COMMAND} -S ${SOURCE_DIR}/demo/host -B ${WORK_DIR}/host
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=${BUILD_TYPE})
if(CXX_FLAGS)
    list(APPEND configure "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
        "-DCMAKE_EXE_LINKER_FLAGS=${CXX_FLAGS}")
endif()
if(LAUNCHER)
    list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
run(${configure})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/host --parallel 2)

# The installed terminal is a plain host: the scripted roads and the test library stay behind.
if(EXISTS ${prefix}/${CMAKE_INSTALL_BINDIR}/corvex-roads)
    message(FATAL_ERROR "the installation holds corvex-roads, a tool of the build tree")
endif()
run(ldd ${prefix}/${CMAKE_INSTALL_BINDIR}/corvex-terminal)
if(last_output MATCHES "libQt[0-9]*Test")
    message(FATAL_ERROR "the installed corvex-terminal links Qt's test library:\n${last_output}")
endif()

# Both hosts find the installed plug-in and the demo data without being told: each opens its
# payment window and says what it loaded. No operator comes, so the window is left open until
# the time-out ends it.
foreach(host ${WORK_DIR}/host/corvex-terminal ${prefix}/${CMAKE_INSTALL_BINDIR}/corvex-terminal)
    execute_process(COMMAND ${host} TIMEOUT 15 RESULT_VARIABLE result OUTPUT_VARIABLE output
        ERROR_VARIABLE output)
    if(NOT result MATCHES "timeout"
            OR NOT output MATCHES "plug-in ${plugin_dir}/libcorvexpay.so"
            OR NOT output MATCHES "${prefix}/${CMAKE_INSTALL_DATADIR}/corvexpay/service.json")
        message(FATAL_ERROR "${host} did not open a payment with the installed plug-in and data "
            "(${result}):\n${output}")
    endif()
endforeach()

# The installed plug-in and data pay along a scripted road.
set(data_dir ${prefix}/${CMAKE_INSTALL_DATADIR}/corvexpay)
run(${BUILD_DIR}/${CMAKE_INSTALL_BINDIR}/corvex-roads --road code
    --plugin ${plugin_dir}/libcorvexpay.so --terminal ${data_dir}/terminal.json
    --service-data ${data_dir}/service.json)
if(NOT last_output MATCHES "pages +0 -> 15" OR NOT last_output MATCHES "Payment:")
    message(FATAL_ERROR "corvex-roads did not pay with the installed plug-in:\n${last_output}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "installed package builds and runs a host")

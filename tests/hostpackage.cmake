# Puts the project where a terminal maker would have it, checks that the host headers are there
# and nothing private, builds the demo host from there alone as a terminal maker would, and runs
# both that host and the installed one without naming the plug-in.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DQT_MAJOR=5|6 -DQT_SUFFIX=...
#         -DLIBDIR=... -DINCLUDE_DIR=... -DPLUGIN_DIR=... -DBINDIR=... -DDATADIR=...
#         [-DPACKAGES=ON -DCPACK=...] [-DBUILD_TYPE=...] [-DCXX_FLAGS=...] [-DLAUNCHER=...]
#         -P hostpackage.cmake
# Without PACKAGES: cmake --install into a fresh prefix. With PACKAGES: cpack makes the Debian
# packages and dpkg -x unpacks them into a fresh root, nothing installed on the system.
cmake_minimum_required(VERSION 3.16)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
        ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ARGN}\nfailed (${result}):\n${output}")
    endif()
    set(last_output "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(module ${PLUGIN_DIR}/libcorvexpay${QT_SUFFIX}.so)
if(PACKAGES)
    run(${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/deb)
    set(root ${WORK_DIR}/root)
    set(prefix ${root}/usr)
    # Each package holds its own part: a file listed here must be in that package.
    set(name corvexpay${QT_SUFFIX})
    set(${name}_files ${module} ${LIBDIR}/libcorvexmodel${QT_SUFFIX}.so.1
        share/doc/${name}/copyright)
    set(${name}-dev_files ${INCLUDE_DIR}/ipaybyprovider.h ${INCLUDE_DIR}/payment.h
        ${LIBDIR}/libcorvexmodel${QT_SUFFIX}.so
        ${LIBDIR}/cmake/CorvexPay${QT_SUFFIX}/CorvexPayConfig.cmake)
    set(${name}-demo_files ${BINDIR}/corvex-terminal ${BINDIR}/corvex-service
        ${DATADIR}/corvexpay/terminal.json share/applications/corvex-terminal.desktop)
    foreach(package ${name} ${name}-dev ${name}-demo)
        file(GLOB deb ${WORK_DIR}/deb/${package}_*.deb)
        if(NOT deb)
            message(FATAL_ERROR "cpack made no package ${package}")
        endif()
        run(dpkg-deb -c ${deb})
        foreach(file IN LISTS ${package}_files)
            if(NOT last_output MATCHES " \\./usr/${file}( -> |\n)")
                message(FATAL_ERROR "${package} lacks /usr/${file}:\n${last_output}")
            endif()
        endforeach()
        run(dpkg -x ${deb} ${root})
    endforeach()
else()
    set(prefix ${WORK_DIR}/prefix)
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endif()

foreach(file
        ${INCLUDE_DIR}/ipaybyprovider.h
        ${INCLUDE_DIR}/ipaydialog.h
        ${INCLUDE_DIR}/payment.h
        ${LIBDIR}/cmake/CorvexPay${QT_SUFFIX}/CorvexPayConfig.cmake
        ${LIBDIR}/cmake/CorvexPay${QT_SUFFIX}/CorvexPayConfigVersion.cmake
        ${module}
        ${BINDIR}/corvex-terminal
        ${BINDIR}/corvex-service
        ${DATADIR}/corvexpay/terminal.json
        ${DATADIR}/corvexpay/service.json)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "the installation lacks ${file}")
    endif()
endforeach()
# The plug-in's own headers stay private.
foreach(private corvexhandler.h corvexpaywizard.h icxwizardpage.h cxwpmsgsender.h saturating.h
        bitflags.h)
    if(EXISTS ${prefix}/${INCLUDE_DIR}/${private})
        message(FATAL_ERROR "the installation exposes the private header ${private}")
    endif()
endforeach()

# The demo host, from its sources and the prefix alone.
set(configure ${CMAKE_COMMAND} -S ${SOURCE_DIR}/demo/host -B ${WORK_DIR}/host
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCORVEX_QT_MAJOR=${QT_MAJOR})
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
if(EXISTS ${prefix}/${BINDIR}/corvex-roads)
    message(FATAL_ERROR "the installation holds corvex-roads, a tool of the build tree")
endif()
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/${LIBDIR} ldd ${prefix}/${BINDIR}/corvex-terminal)
if(last_output MATCHES "libQt[0-9]*Test")
    message(FATAL_ERROR "the installed corvex-terminal links Qt's test library:\n${last_output}")
endif()

# Both hosts find the installed plug-in and the demo data without being told, the installed
# program the installed model library as the system's dynamic linker would: each opens its
# payment window and says what it loaded. No operator comes, so the time-out closes the window.
foreach(host ${WORK_DIR}/host/corvex-terminal ${prefix}/${BINDIR}/corvex-terminal)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/${LIBDIR} ${host}
        TIMEOUT 15 RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result MATCHES "timeout"
            OR NOT output MATCHES "plug-in ${prefix}/${module}"
            OR NOT output MATCHES "${prefix}/${DATADIR}/corvexpay/service.json")
        message(FATAL_ERROR "${host} did not open a payment with the installed plug-in and data "
            "(${result}):\n${output}")
    endif()
endforeach()

# The scripted operator, built beside that host from the same prefix, pays a road with the
# installed plug-in and data.
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/${LIBDIR}
    ${WORK_DIR}/host/roads/corvex-roads --road code)
if(NOT last_output MATCHES "plug-in ${prefix}/${module}" OR NOT last_output MATCHES "pages +0 -> 15"
        OR NOT last_output MATCHES "Payment:")
    message(FATAL_ERROR "corvex-roads did not pay with the installed plug-in:\n${last_output}")
endif()
message(STATUS "corvex-roads --road code:\n${last_output}")
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "installed package builds and runs a host")

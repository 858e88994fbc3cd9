# The product installed into a temporary prefix runs from there: mdrtool answers --version and
# the host, finding its plug-in and data relative to its prefix, creates the per-user program
# folder from the installed data and takes a screenshot. Run with
#   cmake -DBUILD=<build folder> -DWORK=<folder> -DAREA=<command area name> -P InstallTest.cmake
file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install: ${rc}\n${err}")
endif()
foreach(path bin/module-design-host bin/mdrtool lib/module-design/libModuleDesignUIPlugin.so
        share/module-design/runinfo.ini share/applications/module-design-host.desktop
        share/icons/hicolor/256x256/apps/module-design.png
        share/bash-completion/completions/mdrtool)
    if(NOT EXISTS ${prefix}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
if(EXISTS ${prefix}/share/module-design/module-design-host OR
   EXISTS ${prefix}/share/module-design/libModuleDesignUIPlugin.so)
    message(FATAL_ERROR "programs installed into the data folder")
endif()

execute_process(COMMAND ${prefix}/bin/mdrtool --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^mdrtool [0-9]+\\.[0-9]+\\.[0-9]+")
    message(FATAL_ERROR "mdrtool --version: ${rc} ${out}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=MD_PROGRAM_FOLDER QT_QPA_PLATFORM=offscreen
                        XDG_DATA_HOME=${WORK}/data XDG_CONFIG_HOME=${WORK}/config
                        MD_COMMAND_AREA=${AREA}
                        ${prefix}/bin/module-design-host --screenshot ${WORK}/shot.png
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/shot.png)
    message(FATAL_ERROR "installed host --screenshot: ${rc}\n${out}${err}")
endif()
foreach(path runinfo.ini lang/en-us.ini Modules/ModuleDesignUIPlugin/ChipLib.xml)
    if(NOT EXISTS ${WORK}/data/module-design/${path})
        message(FATAL_ERROR "the per-user program folder lacks ${path}")
    endif()
endforeach()
file(SIZE ${WORK}/shot.png size)
message(STATUS "installed host ran; screenshot of ${size} bytes")

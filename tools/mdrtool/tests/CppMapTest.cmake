# The C++ map export compiles and agrees with the CSV export: run with
#   cmake -DMDRTOOL=<path> -DCXX=<compiler> -DSOURCE=<CheckCppMap.cpp> -DWORK=<folder> -P ...
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
function(must)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${ARGN}: exit ${rc}\n${out}${err}")
    endif()
    message(STATUS "${out}")
endfunction()
# A traced module with several groups and interleaved scan rows.
must(${MDRTOOL} sample ${WORK}/m.MDR --width 24 --height 16 --groups 2 --scan-rows 4)
must(${MDRTOOL} export-map ${WORK}/m.MDR --format cpp --out ${WORK}/module_map.h)
must(${MDRTOOL} export-map ${WORK}/m.MDR --format csv --out ${WORK}/m.csv)
must(${CXX} -std=c++17 -Wall -Wextra -Werror "-DMODULE_MAP_HEADER=\"${WORK}/module_map.h\""
     ${SOURCE} -o ${WORK}/check)
must(${WORK}/check ${WORK}/m.csv)

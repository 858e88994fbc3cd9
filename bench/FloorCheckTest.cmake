# The floor check that CI runs on every benchmark program's output, on output written here: sound
# figures and the spread of repetitions pass; a figure below its floor, zero, NaN or Infinity, a
# floor without its figure, a run without any figure and a failed run are each named.
#   cmake -DSCRIPT=<check-bench-floors.cmake> -DWORK=<folder> -P FloorCheckTest.cmake
file(MAKE_DIRECTORY ${WORK})

function(check expected_rc)
    list(JOIN ARGN ",\n" runs)
    file(WRITE ${WORK}/runs.json "{\"context\": {}, \"benchmarks\": [\n${runs}\n]}\n")
    execute_process(COMMAND ${CMAKE_COMMAND} -DJSON=${WORK}/runs.json -DPROGRAM=TestBench
                            -P ${SCRIPT}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if((expected_rc EQUAL 0 AND NOT rc EQUAL 0) OR (NOT expected_rc EQUAL 0 AND rc EQUAL 0))
        message(FATAL_ERROR "exit ${rc}, expected ${expected_rc}:\n${out}${err}")
    endif()
    set(ERR "${err}" PARENT_SCOPE)
endfunction()

function(run name figures)
    set(text "{\"name\": \"${name}\", \"run_type\": \"iteration\", \"iterations\": 10")
    foreach(pair ${figures} ${ARGN})
        string(APPEND text ", ${pair}")
    endforeach()
    set(RUN "${text}}" PARENT_SCOPE)
endfunction()

run(Sound "\"time_per_point\": 2.5e-09" "\"time_per_point_floor\": 1e-09" "\"cells\": 0")
set(sound "${RUN}")
run(Rate "\"bytes_per_second\": 250000000.0" "\"bytes_per_second_floor\": 5000000")
set(rate "${RUN}")
set(spread "{\"name\": \"Sound_stddev\", \"run_type\": \"aggregate\", \"aggregate_name\": \"stddev\", \"time_per_point\": 1e-12, \"time_per_point_floor\": 0}")
check(0 "${sound}" "${rate}" "${spread}")

run(Below "\"time_per_point\": 8.2e-19" "\"time_per_point_floor\": 1e-09")
set(below "${RUN}")
run(Zero "\"bytes_per_second\": 0" "\"bytes_per_second_floor\": 5000000")
set(zero "${RUN}")
run(NotANumber "\"time_per_point\": NaN" "\"time_per_point_floor\": 1e-09")
set(nan "${RUN}")
run(Endless "\"time_per_point\": Infinity" "\"time_per_point_floor\": 1e-09")
set(inf "${RUN}")
run(Alone "\"time_per_point_floor\": 1e-09")
set(alone "${RUN}")
run(Bare "\"points\": 4096")
set(bare "${RUN}")
set(failed "{\"name\": \"Failed\", \"run_type\": \"iteration\", \"error_occurred\": true, \"error_message\": \"read failed\"}")
check(1 "${sound}" "${below}" "${zero}" "${nan}" "${inf}" "${alone}" "${bare}" "${failed}")
foreach(expected "Below: time_per_point = 8.[0-9]*e-19 is below its floor"
                 "Zero: bytes_per_second = 0 is not above zero"
                 "NotANumber: time_per_point = NaN .* is not a number"
                 "Endless: time_per_point = Infinity .* is not a number"
                 "Alone: time_per_point_floor without time_per_point"
                 "Bare: reports no figure with a floor"
                 "Failed: read failed")
    if(NOT ERR MATCHES "${expected}")
        message(FATAL_ERROR "expected '${expected}' in:\n${ERR}")
    endif()
endforeach()
if(ERR MATCHES "Sound")
    message(FATAL_ERROR "a sound run was named:\n${ERR}")
endif()

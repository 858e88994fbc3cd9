# End-to-end check of the mdrtool commands on a sample file: run with
#   cmake -DMDRTOOL=<path> -DWORK=<folder> -P CliTest.cmake
# Fails (FATAL_ERROR) on the first unexpected exit code or output.

function(run expected_rc)
    execute_process(COMMAND ${MDRTOOL} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT rc EQUAL expected_rc)
        message(FATAL_ERROR "mdrtool ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
    endif()
    set(OUT "${out}" PARENT_SCOPE)
    set(ERR "${err}" PARENT_SCOPE)
endfunction()

function(expect text pattern)
    if(NOT text MATCHES "${pattern}")
        message(FATAL_ERROR "expected '${pattern}' in:\n${text}")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(good ${WORK}/demo.MDR)

run(0 --version)
expect("${OUT}" "^mdrtool [0-9]+\\.[0-9]+\\.[0-9]+\n$")
foreach(command info validate export-map render sample transform trace)
    run(0 ${command} --help)
    expect("${OUT}" "^usage: mdrtool ${command} ")
endforeach()
run(0 info --help)
expect("${OUT}" "usage: mdrtool info FILE")
run(0 sample ${good} --width 8 --height 4 --groups 2 --scan-rows 2)
run(0 info ${good})
expect("${OUT}" "^{\"kind\":\"MDR\",\"version\":\\[1,0,0\\],\"sectionTable\":\\[16,")
run(0 export-map ${good} --format wled)
expect("${OUT}" "^{\"map\":\\[0,1,2,3,4,5,6,7,8,")
run(0 export-map ${good} --format xlights)
expect("${OUT}" "parm1=\"8\" parm2=\"4\" Depth=\"1\" CustomModel=\"1,2,3,4,5,6,7,8;")
run(0 render ${good} --png ${WORK}/demo.png --scale 8)
file(READ ${WORK}/demo.png signature LIMIT 4 HEX)
expect("${signature}" "^89504e47")

# A truncated copy (its first 1000 bytes): validate names the file, the section and the
# offset, and exits 1.
find_program(DD dd)
if(DD)
    execute_process(COMMAND ${DD} if=${good} of=${WORK}/cut.MDR bs=1000 count=1 status=none)
    run(1 validate ${good} ${WORK}/cut.MDR)
    expect("${OUT}" "demo.MDR: OK \\(MDR\\)")
    expect("${OUT}" "cut.MDR: FAILED: layout section at offset 160: truncated")
    run(1 info ${WORK}/cut.MDR)
    expect("${ERR}" "^mdrtool info: .*cut.MDR: layout section at offset 160")
endif()
run(1 info ${WORK}/missing.MDR)
expect("${ERR}" "missing.MDR: cannot be read")
run(2 export-map ${good} --format svg)
run(0 export-map ${good} --format cpp)
expect("${OUT}" "inline constexpr int kWidth = 8;\ninline constexpr int kHeight = 4;")

# transform: the 8 x 4 sample turned by 90 degrees is 4 wide and 8 high; its map names every
# LED; a bad angle or zoom is a bad command line; a HUB file that is not there makes no
# combined file.
run(0 transform ${good} ${WORK}/turned.MDR --angle 90 --json)
expect("${OUT}" "\"source\":{\"width\":8,\"height\":4,\"leds\":32,\"valid\":32}")
expect("${OUT}" "\"result\":{\"width\":4,\"height\":8,\"leds\":32,\"valid\":32}")
expect("${OUT}" "\"map\":\\[\\[0,0,3,0\\],")
expect("${OUT}" "\"combined\":null}")
run(0 info ${WORK}/turned.MDR)
expect("${OUT}" "\"xPixels\":4,\"yPixels\":8")
run(0 transform ${good} ${WORK}/mirrored.MDR --mirror-x --zoom-y 0.5)
expect("${OUT}" "^8x4 -> 8x7 ")
run(2 transform ${good} ${WORK}/x.MDR --angle ninety)
run(2 transform ${good} ${WORK}/x.MDR --zoom-x 0)
run(1 transform ${good} ${WORK}/x.MDR --hub ${WORK}/missing.HDR)
expect("${ERR}" "does not fit")
run(1 transform ${WORK}/missing.MDR ${WORK}/x.MDR)

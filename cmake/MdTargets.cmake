# One place for the settings every target of ours shares: warnings, sanitizers, test wiring.

function(md_apply_settings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(MD_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(MD_SANITIZE)
        # Undefined behaviour stops the test that hits it instead of scrolling past in its log.
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined
                               -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# md_add_library(NAME [STATIC|SHARED] SOURCES ... )
function(md_add_library name kind)
    add_library(${name} ${kind} ${ARGN})
    md_apply_settings(${name})
endfunction()

# md_add_test(NAME SOURCES ... LIBS ... [ENV ...]): a GoogleTest executable registered with ctest.
function(md_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    md_apply_settings(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        MD_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
        MD_SOURCE_DATA_DIR="${CMAKE_SOURCE_DIR}/data"
        MD_PROGRAM_DIR="${MD_PROGRAM_DIR}")
    include(GoogleTest)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENV}")
endfunction()

# md_add_benchmark(NAME SOURCES ... LIBS ...)
function(md_add_benchmark name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    md_apply_settings(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()

# md_add_fuzzer(NAME SOURCES ... LIBS ... CORPUS dir): a libFuzzer target, run briefly by ctest.
function(md_add_fuzzer name)
    cmake_parse_arguments(F "" "CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
    if(NOT F_SECONDS)
        set(F_SECONDS 20)
    endif()
    add_executable(${name} ${F_SOURCES})
    md_apply_settings(${name})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    set(work ${CMAKE_BINARY_DIR}/fuzz/${name}-corpus)
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                sh -c "mkdir -p '${work}' && exec '$<TARGET_FILE:${name}>' -max_total_time=${F_SECONDS} -rss_limit_mb=2048 -timeout=10 '${work}' '${F_CORPUS}'")
endfunction()

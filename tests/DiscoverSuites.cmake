# Run by ctest before the tests (the directory's TEST_INCLUDE_FILES): asks the test program
# for its tests and adds one test per GoogleTest suite, run in a process of its own. A
# process per suite rather than per test keeps the emulated 32-bit suite's process starts
# few; a crash still ends only its own suite, and scripts/wine-run names the test that
# was running. The long suites (TEST_LONG_SUITES, longest first) start first, and each of
# their tests runs in a process of its own, so that ctest can share them out between the
# cores to the end rather than wait on one long process. Expects TEST_PROGRAM,
# TEST_EMULATOR (a list), TEST_TIMEOUT and TEST_LONG_SUITES.
execute_process(COMMAND ${TEST_EMULATOR} ${TEST_PROGRAM} --gtest_list_tests
                OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 300)
if(NOT status EQUAL 0)
    add_test(PluginTests_NOT_LISTED ${TEST_EMULATOR} ${TEST_PROGRAM} --gtest_list_tests)
    return()
endif()

# add_program_test(NAME FILTER RANK): RANK is the suite's place among the long suites, or -1.
function(add_program_test name filter rank)
    add_test("${name}" ${TEST_EMULATOR} ${TEST_PROGRAM} "--gtest_filter=${filter}")
    set_tests_properties("${name}" PROPERTIES TIMEOUT ${TEST_TIMEOUT})
    if(rank GREATER -1)
        math(EXPR cost "1000 - ${rank}")
        set_tests_properties("${name}" PROPERTIES COST ${cost})
    endif()
endfunction()

string(REPLACE "\r" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(rank -1)
foreach(line IN LISTS lines)
    # A suite's line starts in the first column and ends with its dot, before any comment;
    # its tests' lines follow, indented by two blanks.
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
        set(suite "${CMAKE_MATCH_1}")
        list(FIND TEST_LONG_SUITES "${suite}" rank)
        if(rank EQUAL -1)
            add_program_test("${suite}" "${suite}.*" -1)
        endif()
    elseif(rank GREATER -1 AND line MATCHES "^  ([^ #]+)( .*)?$")
        add_program_test("${suite}.${CMAKE_MATCH_1}" "${suite}.${CMAKE_MATCH_1}" ${rank})
    endif()
endforeach()

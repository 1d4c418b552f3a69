# Run by ctest before the tests (the directory's TEST_INCLUDE_FILES): asks the test program
# for its tests and adds one test per GoogleTest suite, run in a process of its own. A
# process per suite rather than per test keeps the emulated 32-bit suite's process starts
# few; a crash still ends only its own suite, and scripts/wine-run names the test that
# was running. Expects TEST_PROGRAM, TEST_EMULATOR (a list), TEST_TIMEOUT and
# TEST_LONG_SUITES, the suites that start first, longest first.
execute_process(COMMAND ${TEST_EMULATOR} ${TEST_PROGRAM} --gtest_list_tests
                OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 300)
if(NOT status EQUAL 0)
    add_test(PluginTests_NOT_LISTED ${TEST_EMULATOR} ${TEST_PROGRAM} --gtest_list_tests)
    return()
endif()
string(REPLACE "\r" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
    # A suite's line starts in the first column and ends with its dot, before any comment.
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
        set(suite "${CMAKE_MATCH_1}")
        add_test("${suite}" ${TEST_EMULATOR} ${TEST_PROGRAM} "--gtest_filter=${suite}.*")
        set_tests_properties("${suite}" PROPERTIES TIMEOUT ${TEST_TIMEOUT})
        list(FIND TEST_LONG_SUITES "${suite}" rank)
        if(rank GREATER -1)
            math(EXPR cost "1000 - ${rank}")
            set_tests_properties("${suite}" PROPERTIES COST ${cost})
        endif()
    endif()
endforeach()

# Run by ctest before the tests (the directory's TEST_INCLUDE_FILES): asks the test program
# for its tests and adds them, each run in a process of its own. The long suites
# (TEST_LONG_SUITES, longest first) start first, their tests dealt out to at most
# TEST_PROCESSES_PER_LONG_SUITE processes, so that ctest can share them out between the
# cores to the end rather than wait on one long process, without starting a process per
# test; the tests of TEST_REGISTRY_SUITES take turns with one another. The other suites,
# each a second or less, share two processes, so that the emulated 32-bit run starts few:
# a crash ends only its own process, and scripts/wine-run names the test that was running.
# Expects TEST_PROGRAM, TEST_EMULATOR (a list), TEST_TIMEOUT, TEST_LONG_SUITES,
# TEST_PROCESSES_PER_LONG_SUITE and TEST_REGISTRY_SUITES.
execute_process(COMMAND ${TEST_EMULATOR} ${TEST_PROGRAM} --gtest_list_tests
                OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 300)
if(NOT status EQUAL 0)
    add_test(PluginTests_NOT_LISTED ${TEST_EMULATOR} ${TEST_PROGRAM} --gtest_list_tests)
    return()
endif()

function(add_program_test name filter)
    add_test("${name}" ${TEST_EMULATOR} ${TEST_PROGRAM} "--gtest_filter=${filter}")
    set_tests_properties("${name}" PROPERTIES TIMEOUT ${TEST_TIMEOUT})
endfunction()

string(REPLACE "\r" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(rank -1)
set(group_0 "")
set(group_1 "")
set(group 0)
foreach(line IN LISTS lines)
    # A suite's line starts in the first column and ends with its dot, before any comment;
    # its tests' lines follow, indented by two blanks.
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
        set(suite "${CMAKE_MATCH_1}")
        list(FIND TEST_LONG_SUITES "${suite}" rank)
        if(rank EQUAL -1)
            string(APPEND group_${group} "${suite}.*:")
            math(EXPR group "1 - ${group}")
        endif()
    elseif(rank GREATER -1 AND line MATCHES "^  ([^ #]+)( .*)?$")
        list(APPEND long_${rank} "${suite}.${CMAKE_MATCH_1}")
    endif()
endforeach()
foreach(part 0 1)
    if(group_${part})
        math(EXPR number "${part} + 1")
        add_program_test("Short suites, part ${number}" "${group_${part}}")
    endif()
endforeach()

# Each long suite's tests, dealt out in turn to its processes: a process to each test
# when they are no more than the processes.
list(LENGTH TEST_LONG_SUITES long_suite_count)
math(EXPR last_rank "${long_suite_count} - 1")
foreach(rank RANGE ${last_rank})
    if(NOT DEFINED long_${rank})
        continue()
    endif()
    list(GET TEST_LONG_SUITES ${rank} suite)
    list(LENGTH long_${rank} count)
    set(parts ${TEST_PROCESSES_PER_LONG_SUITE})
    if(count LESS parts)
        set(parts ${count})
    endif()
    math(EXPR last_part "${parts} - 1")
    foreach(part RANGE ${last_part})
        set(filter "")
        set(index ${part})
        while(index LESS count)
            list(GET long_${rank} ${index} name)
            string(APPEND filter "${name}:")
            math(EXPR index "${index} + ${parts}")
        endwhile()
        if(count GREATER parts)
            math(EXPR number "${part} + 1")
            set(name "${suite}, part ${number} of ${parts}")
        endif()
        add_program_test("${name}" "${filter}")
        math(EXPR cost "1000 - ${rank}")
        set_tests_properties("${name}" PROPERTIES COST ${cost})
        list(FIND TEST_REGISTRY_SUITES "${suite}" registry)
        if(registry GREATER -1)
            set_tests_properties("${name}" PROPERTIES RESOURCE_LOCK wineserver-registry)
        endif()
    endforeach()
endforeach()

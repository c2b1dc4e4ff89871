# Whether this machine can run the Windows test programs under Wine, asked once when the tests are
# configured. Some machines of the kind this project builds on refuse every 32-bit Linux program
# (the kernel says "Exec format error"), and Wine's 32-bit loader is one. There the 32-bit suites
# are still built, but each test that would have to run a Windows program is registered as skipped
# with the reason, so ctest neither lists a program's cases by running it nor counts it as passed.
# QUORVIN_TEST_PRETEND_NO_32BIT, set in the environment by the tests of this rule only, makes the
# probe of a 32-bit loader fail on a machine that could run it.

# Sets quorvin_wine_skip_reason in the caller's scope: empty when LOADER runs, else why not. ARCH is
# the target's processor as the toolchain names it (x86 for 32-bit).
function(quorvin_probe_wine loader arch)
    set(bits 64)
    if(arch STREQUAL "x86")
        set(bits 32)
    endif()
    set(reason "this machine cannot run ${bits}-bit programs")
    if(NOT EXISTS "${loader}")
        set(quorvin_wine_skip_reason "Wine is not installed (${loader})" PARENT_SCOPE)
        return()
    endif()
    if(bits EQUAL 32 AND DEFINED ENV{QUORVIN_TEST_PRETEND_NO_32BIT})
        set(quorvin_wine_skip_reason "${reason}" PARENT_SCOPE)
        return()
    endif()
    execute_process(COMMAND ${loader} --version
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
    if(status EQUAL 0)
        set(quorvin_wine_skip_reason "" PARENT_SCOPE)
    else()
        set(quorvin_wine_skip_reason "${reason}" PARENT_SCOPE)
        message(STATUS "Windows tests: ${loader} --version failed (${status}): ${reason}; the tests "
                       "that run Windows programs are reported as skipped")
    endif()
endfunction()

# Registers NAME as a test that is skipped with quorvin_wine_skip_reason, without running anything
# of the program's. Its one line of output is the reason, which the test command's summary shows.
function(quorvin_add_skipped_wine_test name)
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} -E echo "skipped: ${quorvin_wine_skip_reason}")
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "^skipped: ")
endfunction()

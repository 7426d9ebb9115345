# Under VELK_SANITIZE every test of the including folder, also those added
# after this file, runs with these options: a finding ends the test with a
# failure, and only what tests/sanitizers/lsan.supp names is let through.
if(VELK_SANITIZE)
    set(VELK_SANITIZER_DIR ${CMAKE_CURRENT_LIST_DIR})
    function(velk_sanitize_tests)
        get_property(tests DIRECTORY PROPERTY TESTS)
        set_property(TEST ${tests} APPEND PROPERTY ENVIRONMENT
            "ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
            "LSAN_OPTIONS=suppressions=${VELK_SANITIZER_DIR}/lsan.supp:print_suppressions=0"
            "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    endfunction()
    cmake_language(DEFER CALL velk_sanitize_tests)
endif()

set(TRELVANE_PROCESSOR_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ParameterTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgramTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StateTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProcessingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConcurrencyTest.cpp)

trelvane_add_plugin_test(trelvane-plugin-tests ${TRELVANE_PROCESSOR_TEST_SOURCES})

# Its own binary: it replaces the global allocation functions.
trelvane_add_plugin_test(trelvane-allocation-tests ${CMAKE_CURRENT_LIST_DIR}/AllocationTest.cpp)

# The same processor tests, with the plug-in's code and the framework built
# again under ThreadSanitizer, and under AddressSanitizer with
# UndefinedBehaviorSanitizer.
if(TRELVANE_SANITIZER_BUILDS)
    trelvane_add_sanitized_test(trelvane-plugin-tests-tsan thread ${TRELVANE_PROCESSOR_TEST_SOURCES})
    trelvane_add_sanitized_test(trelvane-plugin-tests-asan "address,undefined" ${TRELVANE_PROCESSOR_TEST_SOURCES})
endif()

trelvane_add_plugin_test(trelvane-plugin-tests
    ${CMAKE_CURRENT_LIST_DIR}/ParameterTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgramTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StateTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProcessingTest.cpp)

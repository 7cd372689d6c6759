trelvane_add_dsp_test(trelvane-dsp-tests
    ${CMAKE_CURRENT_LIST_DIR}/BandFilterTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PolyphaseHalfBandTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BandSettingsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BandChainTest.cpp)
target_include_directories(trelvane-dsp-tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/bitexact.cmake OPTIONAL)

# Source lists, grouped by the folder that owns them.
set(TRELVANE_DSP_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../engine/BandFilter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../engine/PolyphaseHalfBand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../engine/BandSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../engine/BandChain.cpp)

set(TRELVANE_PLUGIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../engine/TrelvaneAudioProcessor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../host/ParameterStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../host/ParameterTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../host/ProgramSlot.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../host/StateBlock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../host/StrictNumber.cpp)

include(${CMAKE_CURRENT_LIST_DIR}/../controls/sources.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/../editor/sources.cmake OPTIONAL)

list(APPEND TRELVANE_PLUGIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TrelvaneAudioProcessorEditor.cpp)

# The editor: construction and layout, wiring to the processor, scaling.
trelvane_add_plugin_test(trelvane-editor-tests
    ${CMAKE_CURRENT_LIST_DIR}/EditorLayoutTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorWiringTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorScalingTest.cpp)

# The built VST3 bundle in a real window: a small host loads it, opens its
# editor under a private X server and is driven with real mouse and keys.
if(TARGET trelvane-vst3host)
    find_package(Python3 COMPONENTS Interpreter)
    set(trelvane_window_python /usr/bin/python3)
    if(NOT EXISTS ${trelvane_window_python})
        set(trelvane_window_python ${Python3_EXECUTABLE})
    endif()
    add_test(NAME trelvane-editor-window
        COMMAND ${trelvane_window_python} ${CMAKE_CURRENT_LIST_DIR}/window_test.py
            --host $<TARGET_FILE:trelvane-vst3host>
            --plugin $<TARGET_FILE_DIR:Trelvane_VST3>/../..
            --out ${CMAKE_BINARY_DIR}/editor-screenshots)
    set_tests_properties(trelvane-editor-window PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
endif()

# trelvane-render and trelvane-demo-signal, run as programs on files.
trelvane_add_plugin_test(trelvane-render-tests ${CMAKE_CURRENT_LIST_DIR}/RenderToolTest.cpp)
target_compile_definitions(trelvane-render-tests PRIVATE
    TRELVANE_RENDER_PATH="$<TARGET_FILE:trelvane-render>"
    TRELVANE_DEMO_SIGNAL_PATH="$<TARGET_FILE:trelvane-demo-signal>")
add_dependencies(trelvane-render-tests trelvane-render trelvane-demo-signal)

trelvane_add_plugin_test(trelvane-render-tests ${CMAKE_CURRENT_LIST_DIR}/RenderToolTest.cpp)
target_compile_definitions(trelvane-render-tests PRIVATE TRELVANE_RENDER_TOOL="$<TARGET_FILE:trelvane-render>")
add_dependencies(trelvane-render-tests trelvane-render)

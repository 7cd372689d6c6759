# The built VST3 module, loaded the way a host loads it: through the framework's
# own VST3 hosting, and compared with the processor class run directly.
trelvane_add_plugin_test(trelvane-vst3-tests ${CMAKE_CURRENT_LIST_DIR}/HostedPluginTest.cpp)

# The module must exist (and be current) before the test runs.
add_dependencies(trelvane-vst3-tests Trelvane_VST3)

# On Linux the module file is <bundle>.vst3/Contents/<arch>-linux/Trelvane.so;
# the test walks up from it to the bundle folder a host is given.
target_compile_definitions(trelvane-vst3-tests PRIVATE
    TRELVANE_VST3_MODULE_FILE="$<TARGET_FILE:Trelvane_VST3>")

# The raw VST3 interfaces, to ask the module about buses directly.
target_include_directories(trelvane-vst3-tests SYSTEM PRIVATE
    ${JUCE_MODULES_DIR}/juce_audio_processors/format_types/VST3_SDK)

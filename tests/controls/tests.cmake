trelvane_add_plugin_test(trelvane-controls-tests
    ${CMAKE_CURRENT_LIST_DIR}/KnobTextTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KnobImagesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LookAndFeelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ValueLabelTest.cpp)
# The tests compare against the embedded blocks by name.
target_link_libraries(trelvane-controls-tests PRIVATE trelvane_resources)

# The committed pictures are exactly the generator's output.
if(TARGET trelvane-imagegen)
    add_test(NAME trelvane-images-reproducible
             COMMAND ${CMAKE_COMMAND}
                 -DGENERATOR=$<TARGET_FILE:trelvane-imagegen>
                 -DWORK=${CMAKE_BINARY_DIR}/imagegen-check
                 -DRESOURCES=${PROJECT_SOURCE_DIR}/resources
                 -P ${CMAKE_CURRENT_LIST_DIR}/ImagesReproducible.cmake)
    set_tests_properties(trelvane-images-reproducible PROPERTIES TIMEOUT 300)
endif()

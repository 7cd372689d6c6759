# The knobs, value labels, look-and-feel and the lookup of the embedded pictures.
list(APPEND TRELVANE_PLUGIN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GainSlider.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FreqSlider.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WidthSlider.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AngleSlider.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MyLabel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LabelWithSlider.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KnobImages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrelvaneLookAndFeel.cpp)

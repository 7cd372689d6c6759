# Embedded pictures of the editor. The list is owned by resources/resources.cmake;
# until pictures exist, a placeholder keeps the binary-data target valid.
set(TRELVANE_RESOURCE_FILES "")
include(${CMAKE_CURRENT_LIST_DIR}/../resources/resources.cmake OPTIONAL)
if(NOT TRELVANE_RESOURCE_FILES)
    set(TRELVANE_RESOURCE_FILES ${CMAKE_CURRENT_LIST_DIR}/placeholder.txt)
endif()
juce_add_binary_data(trelvane_resources
    NAMESPACE TrelvaneBinaryData
    HEADER_NAME TrelvaneBinaryData.h
    SOURCES ${TRELVANE_RESOURCE_FILES})

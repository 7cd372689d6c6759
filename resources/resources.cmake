# The editor's pictures, rendered by tools/imagegen (see its CMakeLists.txt for
# the command that writes them again). File names give the embedded symbols,
# e.g. gainStrip1.png -> TrelvaneBinaryData::gainStrip1_png / gainStrip1_pngSize.
set(TRELVANE_RESOURCE_FILES ${CMAKE_CURRENT_LIST_DIR}/backgroundImage.png)
foreach(row gain freq width angle level)
    foreach(band 1 2 3 4 5)
        list(APPEND TRELVANE_RESOURCE_FILES ${CMAKE_CURRENT_LIST_DIR}/${row}Strip${band}.png)
    endforeach()
endforeach()

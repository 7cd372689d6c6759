# Renders the editor's pictures again into the build tree and checks that every
# committed PNG in resources/ is byte for byte what the generator writes.
#   cmake -DGENERATOR=<trelvane-imagegen> -DWORK=<dir> -DRESOURCES=<resources dir> -P ImagesReproducible.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${GENERATOR} --resources ${WORK}/resources --work ${WORK}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "trelvane-imagegen failed: ${result}")
endif()

file(GLOB committed RELATIVE ${RESOURCES} ${RESOURCES}/*.png)
file(GLOB rendered RELATIVE ${WORK}/resources ${WORK}/resources/*.png)
list(LENGTH committed count)
if(NOT count EQUAL 26)
    message(FATAL_ERROR "expected 26 committed pictures, found ${count}")
endif()
if(NOT "${committed}" STREQUAL "${rendered}")
    message(FATAL_ERROR "rendered set differs from the committed set:\n${rendered}\n${committed}")
endif()
foreach(png ${committed})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${RESOURCES}/${png} ${WORK}/resources/${png}
                    RESULT_VARIABLE differs)
    if(differs)
        message(SEND_ERROR "${png} is not what the generator writes")
    endif()
endforeach()

# The committed window pictures must be exactly what their script draws, so that the script
# stays the source of the pictures.
file(MAKE_DIRECTORY ${WORK}/pictures)
execute_process(COMMAND ${PYTHON} ${SOURCE}/resources/make_pictures.py ${WORK}/pictures
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make_pictures.py failed: ${status}")
endif()
foreach(name banner.jpg progress_tile.jpg)
    file(SHA256 ${WORK}/pictures/${name} fresh)
    file(SHA256 ${SOURCE}/resources/${name} committed)
    if(NOT fresh STREQUAL committed)
        message(FATAL_ERROR "resources/${name} differs from what resources/make_pictures.py draws")
    endif()
endforeach()

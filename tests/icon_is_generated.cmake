# The committed icon must be exactly what its script draws, so that the script stays the
# source of the picture.
execute_process(COMMAND ${PYTHON} ${SOURCE}/resources/make_icon.py ${WORK}/regenerated.ico
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make_icon.py failed: ${status}")
endif()
file(SHA256 ${WORK}/regenerated.ico fresh)
file(SHA256 ${SOURCE}/resources/unins000.ico committed)
if(NOT fresh STREQUAL committed)
    message(FATAL_ERROR "resources/unins000.ico differs from what resources/make_icon.py draws")
endif()

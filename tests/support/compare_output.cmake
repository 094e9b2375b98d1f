# Runs COMMAND (a list) in WORKING_DIRECTORY and compares its standard output
# with the file EXPECTED byte for byte.
execute_process(COMMAND ${COMMAND}
  WORKING_DIRECTORY ${WORKING_DIRECTORY}
  OUTPUT_VARIABLE actual
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "command failed with ${status}: ${COMMAND}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/actual-output.txt "${actual}")
  message(FATAL_ERROR "output differs from ${EXPECTED}; actual output in "
                      "${CMAKE_CURRENT_BINARY_DIR}/actual-output.txt")
endif()

# Runs COMMAND (a list) in WORKING_DIRECTORY and compares its standard output
# with the file EXPECTED byte for byte. The exit status must be EXPECTED_STATUS
# (default 0).
execute_process(COMMAND ${COMMAND}
  WORKING_DIRECTORY ${WORKING_DIRECTORY}
  OUTPUT_VARIABLE actual
  RESULT_VARIABLE status)
if(NOT DEFINED EXPECTED_STATUS)
  set(EXPECTED_STATUS 0)
endif()
if(NOT status EQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "command failed with ${status}: ${COMMAND}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/actual-output.txt "${actual}")
  message(FATAL_ERROR "output differs from ${EXPECTED}; actual output in "
                      "${CMAKE_CURRENT_BINARY_DIR}/actual-output.txt")
endif()

# Runs the dump program (COMMAND, a list) with --json on every sample file in
# SAMPLES and compares each output with EXPECTED/<name>.json byte for byte, so
# that the Windows build under Wine and the native build give the same cards.
file(GLOB samples RELATIVE ${SAMPLES} ${SAMPLES}/*.vcf)
if(NOT samples)
  message(FATAL_ERROR "no sample files in ${SAMPLES}")
endif()
set(failures "")
foreach(sample IN LISTS samples)
  string(REGEX REPLACE "\\.vcf$" ".json" reference ${sample})
  execute_process(COMMAND ${COMMAND} --json ${sample}
    WORKING_DIRECTORY ${SAMPLES}
    OUTPUT_VARIABLE actual
    RESULT_VARIABLE status)
  file(READ ${EXPECTED}/${reference} expected)
  if(NOT status EQUAL 0 OR NOT actual STREQUAL expected)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/actual-${reference} "${actual}")
    list(APPEND failures ${sample})
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "dump differs from the reference for: ${failures}; actual output in "
                      "${CMAKE_CURRENT_BINARY_DIR}/actual-*.json")
endif()

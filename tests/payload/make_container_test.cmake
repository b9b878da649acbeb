# cmake -DLZHPACK=... -DSCRIPT=make_container.cmake -DWORK=<dir> -P this
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(expect_same a b what)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "FAILED: ${what}")
  endif()
endfunction()

# A plain file is compressed into a container that expands back to it.
file(WRITE ${WORK}/plain.txt "Postleitzahlen\r\n10115;Berlin\r\n10115;Berlin\r\n10115;Berlin\r\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DIN=${WORK}/plain.txt -DOUT=${WORK}/plain.tx_
                        -DLZHPACK=${LZHPACK} -DMODE=--best -P ${SCRIPT}
                RESULT_VARIABLE failed)
file(READ ${WORK}/plain.tx_ magic LIMIT 4)
if(failed OR NOT magic STREQUAL "!HZL")
  message(FATAL_ERROR "FAILED: a plain file becomes a container")
endif()
execute_process(COMMAND ${LZHPACK} expand ${WORK}/plain.tx_ ${WORK}/plain.out)
expect_same(${WORK}/plain.txt ${WORK}/plain.out "the container expands to the plain file")

# A container is taken byte for byte, not compressed again.
execute_process(COMMAND ${CMAKE_COMMAND} -DIN=${WORK}/plain.tx_ -DOUT=${WORK}/again.tx_
                        -DLZHPACK=${LZHPACK} -P ${SCRIPT}
                RESULT_VARIABLE failed)
expect_same(${WORK}/plain.tx_ ${WORK}/again.tx_ "a container is taken as it is")

# A missing payload file stops the build.
execute_process(COMMAND ${CMAKE_COMMAND} -DIN=${WORK}/missing -DOUT=${WORK}/missing.tx_
                        -DLZHPACK=${LZHPACK} -P ${SCRIPT}
                RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
if(NOT failed)
  message(FATAL_ERROR "FAILED: a missing payload file is an error")
endif()
message(STATUS "3 passed, 0 failed")

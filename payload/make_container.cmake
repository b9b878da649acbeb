# Makes one container row of the payload at build time:
#   cmake -DIN=<file> -DOUT=<file> -DLZHPACK=<lzhpack> [-DMODE=--best] -P make_container.cmake
# A file that already is a container (it starts with "!HZL") is taken as it
# is; any other file is compressed into one.
if(NOT EXISTS "${IN}")
  message(FATAL_ERROR "payload file missing: ${IN}")
endif()
file(READ "${IN}" magic LIMIT 4 HEX)
if(magic STREQUAL "21485a4c")
  file(COPY_FILE "${IN}" "${OUT}")
else()
  execute_process(COMMAND "${LZHPACK}" compress ${MODE} "${IN}" "${OUT}"
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "lzhpack could not compress ${IN}")
  endif()
endif()

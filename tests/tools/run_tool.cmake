# Runs a built program (under the emulator when there is one) and checks its
# exit status, its standard output against a file, and a text in its errors.
#   TOOL, EMULATOR and ARGS ('|'-separated), INPUT (file for standard input),
#   EXPECT_EXIT, EXPECT_STDOUT_FILE, EXPECT_STDERR_CONTAINS
string(REPLACE "|" ";" emulator "${EMULATOR}")
string(REPLACE "|" ";" args "${ARGS}")
if(NOT INPUT)
  set(INPUT /dev/null)
endif()
execute_process(COMMAND ${emulator} ${TOOL} ${args}
  INPUT_FILE ${INPUT} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
message("${out}")
message("--- errors:\n${err}")
if(NOT rc STREQUAL EXPECT_EXIT)
  message(FATAL_ERROR "exit status ${rc}, expected ${EXPECT_EXIT}")
endif()
if(EXPECT_STDOUT_FILE)
  file(READ ${EXPECT_STDOUT_FILE} expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "output differs from ${EXPECT_STDOUT_FILE}:\n${expected}")
  endif()
endif()
if(EXPECT_STDERR_CONTAINS)
  string(FIND "${err}" "${EXPECT_STDERR_CONTAINS}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "errors do not mention '${EXPECT_STDERR_CONTAINS}'")
  endif()
endif()

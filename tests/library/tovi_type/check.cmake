# Runs one `tovi type` and checks its standard output, exit status and standard error.
#   TOVI    the tool
#   ARGS    the arguments after "type", separated by "^"
#   STDOUT  the exact standard output expected (a newline is added with CODES_LINE=1)
#   STATUS  the exit status expected
#   STDERR  a regular expression that standard error must match (empty: it must be empty)
string(REPLACE "^" ";" args "${ARGS}")
execute_process(COMMAND ${TOVI} type ${args}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(want "${STDOUT}")
if(CODES_LINE)
  string(APPEND want "\n")
endif()
if(NOT rc STREQUAL STATUS)
  message(FATAL_ERROR "tovi type ${args}: exit status ${rc}, expected ${STATUS}\nstderr: ${err}")
endif()
if(NOT out STREQUAL want)
  message(FATAL_ERROR "tovi type ${args}:\n  printed  [${out}]\n  expected [${want}]")
endif()
if(STDERR STREQUAL "")
  if(NOT err STREQUAL "")
    message(FATAL_ERROR "tovi type ${args}: unexpected standard error: ${err}")
  endif()
else()
  if(NOT err MATCHES "${STDERR}")
    message(FATAL_ERROR "tovi type ${args}: standard error [${err}] does not match [${STDERR}]")
  endif()
  # One line, ending in a newline.
  string(REGEX MATCHALL "\n" lines "${err}")
  list(LENGTH lines count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "tovi type ${args}: standard error is not one line: [${err}]")
  endif()
endif()

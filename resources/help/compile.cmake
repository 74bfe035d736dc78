# Compiles the help project with chmcmd and fails on any warning (a page that a link or the
# contents name but that is missing), so that a broken link never reaches the help file.
# Run with -DCHMCMD=... -DPROJECT_FILE=... -DOUTPUT=..., in the folder holding the sources.
execute_process(
  COMMAND ${CHMCMD} --html-scan ${PROJECT_FILE}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "Warning|Error|exception")
  message(FATAL_ERROR "chmcmd failed on ${PROJECT_FILE}:\n${output}")
endif()
get_filename_component(name ${PROJECT_FILE} NAME_WE)
file(COPY_FILE ${name}.chm ${OUTPUT} ONLY_IF_DIFFERENT)

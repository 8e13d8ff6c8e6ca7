# cmake -DOBJDUMP=... -DDLL=... -P check_exports.cmake: fails unless the
# export table of DLL names exactly Kavrel_Plugin_EntryPoint.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()
# The name pointer table: "\t[   0] +base[   1] 0000 Name" lines.
string(REGEX MATCHALL "\\[ *[0-9]+\\] \\+base\\[ *[0-9]+\\] +[0-9a-f]+ [A-Za-z0-9_@]+" entries "${dump}")
set(names "")
foreach(entry ${entries})
  string(REGEX REPLACE ".* " "" name "${entry}")
  list(APPEND names ${name})
endforeach()
if(NOT names STREQUAL "Kavrel_Plugin_EntryPoint")
  message(FATAL_ERROR "exports of ${DLL}: '${names}', expected only Kavrel_Plugin_EntryPoint")
endif()
message(STATUS "${DLL} exports ${names}")

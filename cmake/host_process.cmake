# kavrel_host_process(TARGET): makes TARGET a process that can load the
# plug-in. The plug-in calls Kv_*, Import_IO_* and the Win32 layer, which the
# process itself may never reference; without --whole-archive the linker
# would leave those archive members out and dlopen would fail on unresolved
# symbols. ENABLE_EXPORTS puts them in the dynamic symbol table.
function(kavrel_host_process target)
  if(WIN32)
    # The host's calls are in DLLs there, found by the plug-in on its own.
    target_link_libraries(${target} PRIVATE kavrel_host)
    add_dependencies(${target} inventor_import)
    return()
  endif()
  set(host_archives kavrel_toolkit kavrel_import_io kavrel_export win32_layer)
  set(whole_archive "LINKER:--whole-archive")
  foreach(archive ${host_archives})
    list(APPEND whole_archive "$<TARGET_FILE:${archive}>")
  endforeach()
  list(APPEND whole_archive "LINKER:--no-whole-archive")
  target_link_libraries(${target} PRIVATE kavrel_host ${CMAKE_DL_LIBS})
  target_link_options(${target} PRIVATE ${whole_archive})
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  add_dependencies(${target} inventor_import ${host_archives})
endfunction()

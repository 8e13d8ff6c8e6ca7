# The plug-in's folders each build an object library; they become one shared
# library whose only dynamic symbol is the entry point. The Kv_*, Import_IO_*
# and Win32 calls stay undefined and resolve from the process that loads it.
set(plugin_objects
  $<TARGET_OBJECTS:plugin_state>
  $<TARGET_OBJECTS:plugin_frame>
  $<TARGET_OBJECTS:plugin_options>
  $<TARGET_OBJECTS:plugin_scene>
  $<TARGET_OBJECTS:plugin_geometry>
  $<TARGET_OBJECTS:plugin_nurbs>
  $<TARGET_OBJECTS:plugin_materials>
  $<TARGET_OBJECTS:plugin_lights>)
add_library(inventor_import SHARED ${plugin_objects})
target_link_libraries(inventor_import PRIVATE common_files Coin::Coin ZLIB::ZLIB Threads::Threads)
set_target_properties(inventor_import PROPERTIES PREFIX "" OUTPUT_NAME "kavrel_inventor")
if(WIN32)
  # A DLL resolves everything when it is linked: the host calls through the
  # host DLLs' import libraries, the dialogs through user32. The module
  # definition file names the one export.
  target_sources(inventor_import PRIVATE ${CMAKE_SOURCE_DIR}/cmake/plugin_exports.def)
  target_link_libraries(inventor_import PRIVATE kavrel_import_io kavrel_toolkit user32)
else()
  target_link_options(inventor_import PRIVATE
    "-Wl,--version-script=${CMAKE_SOURCE_DIR}/cmake/plugin_exports.map")
endif()

# The same objects as a static library, for tests that call the plug-in's
# functions directly inside a process that also holds the host.
add_library(inventor_import_static STATIC ${plugin_objects})
target_link_libraries(inventor_import_static PUBLIC common_files Coin::Coin ZLIB::ZLIB Threads::Threads)

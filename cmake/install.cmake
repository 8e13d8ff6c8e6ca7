# cmake --install: the command in bin/, the plug-in where the command finds
# it from there, the examples, the man page, the host's interface headers
# and a package config for building other import plug-ins against the host.
# CPack packs the same tree into a .deb.
include(CMakePackageConfigHelpers)

# No run path: the command carries the host itself and finds the plug-in
# from its own location. (An install run path longer than the build tree's
# makes CMake pad the build tree's with empty entries, which the loader
# takes for the current directory.)
install(TARGETS kavrel-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS inventor_import LIBRARY DESTINATION ${KAVREL_INSTALL_PLUGINDIR})
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kavrel/examples)
# The Blender add-on twice: as a folder of add-ons (PREFIX/share/kavrel/blender
# can be Blender's scripts folder) and as the zip for Blender's installer.
install(DIRECTORY blender/io_import_inventor DESTINATION ${CMAKE_INSTALL_DATADIR}/kavrel/blender/addons
        FILES_MATCHING PATTERN "*.py" PATTERN "__pycache__" EXCLUDE)
install(FILES ${KAVREL_BLENDER_ZIP} DESTINATION ${CMAKE_INSTALL_DATADIR}/kavrel/blender)
install(DIRECTORY host/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kavrel/host FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")

# The man page comes from --help and --version at build time.
find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(man_page ${CMAKE_BINARY_DIR}/kavrel-convert.1)
  add_custom_command(OUTPUT ${man_page}
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr --output=${man_page}
            "--name=convert Open Inventor 2.x and VRML 1.0 files to glTF 2.0" $<TARGET_FILE:kavrel-convert>
    DEPENDS kavrel-convert
    COMMENT "Writing the man page of kavrel-convert")
  add_custom_target(kavrel-convert-man ALL DEPENDS ${man_page})
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no man page (scripts/setup.sh installs it)")
endif()

set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/kavrel)
configure_package_config_file(cmake/kavrelConfig.cmake.in ${CMAKE_BINARY_DIR}/kavrelConfig.cmake
  INSTALL_DESTINATION ${config_dir}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_BINDIR KAVREL_INSTALL_PLUGINDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/kavrelConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/kavrelConfig.cmake ${CMAKE_BINARY_DIR}/kavrelConfigVersion.cmake
        DESTINATION ${config_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavrel)
set(CPACK_PACKAGE_CONTACT "kavrel developers <kavrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Open Inventor 2.x and VRML 1.0 import plug-in with a glTF converter")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Runtime dependencies from the Debian packages that own the libraries
# the command and the plug-in link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

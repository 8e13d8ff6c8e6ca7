# The test suites in the Windows build run under Wine (CTest prefixes the
# cross-compiling emulator). Areas about parts that exist only without
# Windows are not built: the in-memory Win32 layer and what drives it (the
# options tests, the terminal front end), the command-line tests, which
# start kavrel-convert as a POSIX child process, and the exporter's tests,
# whose fixtures work through POSIX pipes and temporary directories. On
# Windows tests/windows/ covers the real dialogs, and the corpus comparison
# there the command line and the exporter.
set(kavrel_posix_test_areas win32 terminal options cli export)

# Single tests that are about POSIX behaviour, skipped by name.
set(kavrel_posix_tests
  # file modes and symbolic links
  *Permission*:*Symlink*:*ReadOnly*)

# kavrel_windows_test(NAME): NAME runs as one CTest test under Wine.
function(kavrel_windows_test name)
  add_test(NAME ${name} COMMAND ${name} --gtest_filter=-${kavrel_posix_tests})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900 ENVIRONMENT "WINEDEBUG=-all")
endfunction()

# The test suites in the Windows build run under Wine (CTest prefixes the
# cross-compiling emulator). Areas about parts that exist only without
# Windows are not built: the in-memory Win32 layer and what drives it (the
# options tests, the terminal front end), the command-line tests, which
# start kavrel-convert as a POSIX child process, and the exporter's tests,
# and the toolkit's, whose fixtures work through POSIX pipes and mkdtemp. On
# Windows tests/windows/ covers the real dialogs, and the corpus comparison
# there the command line and the exporter. valgrind runs Linux programs
# only, the install test installs the Linux layout and reads its ELF
# files, and the fidelity suite renders with Coin3D on GLX.
set(kavrel_posix_test_areas win32 terminal options cli export toolkit valgrind install fidelity)

# kavrel_windows_test(NAME): each test of NAME runs as a CTest test of its
# own under Wine, one process per test as on Linux (the plug-in keeps
# module-level state). The tests are listed when CTest runs, not at build
# time. scripts/test-windows.sh leaves out by name the few that are about
# what only the Linux host does.
function(kavrel_windows_test name)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 300 ENVIRONMENT "WINEDEBUG=-all")
endfunction()

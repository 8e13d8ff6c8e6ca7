# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# so that std::thread and std::mutex exist). Programs built here run under
# Wine, which also lets CMake's try_run checks execute.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KAVREL_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KAVREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KAVREL_MINGW_TRIPLE}-windres)

find_program(KAVREL_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(KAVREL_WINE64 NAMES wine64 wine)
if(KAVREL_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KAVREL_WINE64})
endif()

# Libraries built for Windows live under /usr/x86_64-w64-mingw32 and in the
# prefixes given by CMAKE_PREFIX_PATH; never pick up Linux ones.
set(CMAKE_FIND_ROOT_PATH /usr/${KAVREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# kavrel_platform_sources(VAR): drops from the source list VAR the files of
# the other platform. Where Windows and POSIX systems differ, a folder holds
# one file of each kind behind one header: NAME_windows.cc is built only for
# Windows, NAME_posix.cc only elsewhere.
function(kavrel_platform_sources var)
  if(WIN32)
    list(FILTER ${var} EXCLUDE REGEX "_posix\\.cc$")
  else()
    list(FILTER ${var} EXCLUDE REGEX "_windows\\.cc$")
  endif()
  set(${var} ${${var}} PARENT_SCOPE)
endfunction()

# The suffix of this platform's files, for targets that name one directly.
if(WIN32)
  set(KAVREL_PLATFORM windows)
else()
  set(KAVREL_PLATFORM posix)
endif()

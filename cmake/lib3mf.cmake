# lib3mf 1.x, the 3MF Consortium's library (Debian's lib3mf-dev), as the
# imported target lib3mf::lib3mf, used through its plain C interface. Its
# pkg-config file asks for libzip and zlib, which only a static build
# needs (Debian's shared library links them itself), so the header and
# the library are found directly.
find_path(LIB3MF_INCLUDE_DIR Model/COM/NMR_DLLInterfaces.h PATH_SUFFIXES lib3mf)
find_library(LIB3MF_LIBRARY NAMES 3MF)
if(LIB3MF_INCLUDE_DIR AND LIB3MF_LIBRARY AND NOT TARGET lib3mf::lib3mf)
  add_library(lib3mf::lib3mf UNKNOWN IMPORTED GLOBAL)
  set_target_properties(lib3mf::lib3mf PROPERTIES IMPORTED_LOCATION ${LIB3MF_LIBRARY}
                                                  INTERFACE_INCLUDE_DIRECTORIES ${LIB3MF_INCLUDE_DIR})
endif()
if(NOT TARGET lib3mf::lib3mf)
  message(FATAL_ERROR "lib3mf not found: install lib3mf-dev (scripts/setup.sh), or configure with -DKAVREL_WITH_LIB3MF=OFF")
endif()

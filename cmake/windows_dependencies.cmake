# The dependencies of the Windows build (cross-compiled with MinGW-w64).
# Coin3D and libtiff come from the cache that scripts/build-mingw-libraries.sh
# fills; the header-only libraries are Debian's own headers, reached through
# a folder of links that holds nothing else, so that no Linux system header
# comes along; GoogleTest is built here from Debian's sources.
set(KAVREL_MINGW_CACHE "$ENV{HOME}/.cache/kavrel" CACHE PATH "Libraries built for MinGW-w64")
file(GLOB mingw_prefixes LIST_DIRECTORIES true ${KAVREL_MINGW_CACHE}/*-mingw64)
list(APPEND CMAKE_PREFIX_PATH ${mingw_prefixes})
find_package(Coin REQUIRED CONFIG)
find_package(TIFF REQUIRED)
# MinGW's zlib (libz-mingw-w64-dev), never the Linux one beside it in /usr/include.
set(ZLIB_INCLUDE_DIR /usr/x86_64-w64-mingw32/include CACHE PATH "zlib headers for MinGW" FORCE)
set(ZLIB_LIBRARY /usr/x86_64-w64-mingw32/lib/libz.dll.a CACHE FILEPATH "zlib import library for MinGW" FORCE)

set(header_only ${CMAKE_BINARY_DIR}/header_only)
file(MAKE_DIRECTORY ${header_only})
foreach(folder nlohmann CLI stb)
  file(CREATE_LINK /usr/include/${folder} ${header_only}/${folder} SYMBOLIC)
endforeach()
# find_package finds Debian's configurations of these two, which return at
# once when their targets exist: these then keep the include folder above.
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json INTERFACE ${header_only})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 INTERFACE ${header_only})
# Texture images other than TIFF are decoded with stb_image on Windows.
add_library(kavrel_stb INTERFACE IMPORTED)
target_include_directories(kavrel_stb INTERFACE ${header_only}/stb)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

# M_PI and friends from <cmath>.
add_compile_definitions(_USE_MATH_DEFINES)
# Exceptions cross DLL boundaries (the plug-in's abort unwinds through host
# DLL frames): one shared C++ runtime and one shared unwinder for all.
add_link_options(-shared-libgcc)
# Programs, DLLs and the runtime DLLs they need in one folder, as shipped.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll OUTPUT_VARIABLE libstdcxx_dll
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll OUTPUT_VARIABLE libgcc_dll
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(library_dlls "")
foreach(prefix ${mingw_prefixes})
  file(GLOB dlls ${prefix}/bin/*.dll)
  list(APPEND library_dlls ${dlls})
endforeach()
# Windows loads a MinGW DLL by reading its sections into memory (their file
# alignment is too small to map them), debug information included: with it
# the DLLs of one conversion are some 60 MB read at every start, which under
# Wine costs more than a whole conversion. The programs and DLLs go out
# without it, the copied ones too (debug the Linux build, which keeps it).
add_link_options(-Wl,--strip-debug)
file(MAKE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
foreach(dll ${libstdcxx_dll} ${libgcc_dll} /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll
            /usr/x86_64-w64-mingw32/lib/zlib1.dll ${library_dlls})
  get_filename_component(name ${dll} NAME)
  execute_process(COMMAND ${CMAKE_STRIP} --strip-debug -o ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name} ${dll}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# The host's Kv_* and Import_IO_* live in DLLs with import libraries (a DLL
# cannot leave symbols undefined for its loader to fill in); MinGW's linker
# exports every symbol of a DLL that marks none itself.
set(KAVREL_HOST_LIBRARY_TYPE SHARED)
set(KAVREL_DIALOG_LIBRARIES user32 gdi32 shell32 ole32)
set(KAVREL_IMAGE_DECODER kavrel_stb)

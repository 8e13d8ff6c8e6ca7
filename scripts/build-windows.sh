#!/usr/bin/env bash
# build-windows.sh [DIR]: cross-builds the Windows x64 version into DIR
# (default build-windows/): the plug-in DLL (DIR/bin/kavrel_inventor.dll),
# the host DLLs, kavrel-convert.exe and the test programs, with every DLL
# they need beside them in DIR/bin. Installs the cross-compiler and Wine and
# builds the libraries Debian lacks for MinGW first (scripts/setup-windows.sh;
# the first time that takes a while, later runs reuse its cache).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-windows.sh
dir=${1:-build-windows}
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Wine keeps its own configuration (a "prefix") in the build folder.
export WINEPREFIX=${WINEPREFIX:-$PWD/$dir/wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "${launcher[@]}" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
echo "build-windows: the plug-in is $dir/bin/kavrel_inventor.dll, the converter $dir/bin/kavrel-convert.exe"

#!/usr/bin/env bash
# build-mingw-libraries.sh [LIBRARY...]: builds the libraries that Debian does
# not ship for MinGW-w64 from Debian's own source packages, for
# x86_64-w64-mingw32: Coin3D 4.0.0 (reads the scenes) and libtiff (the
# host's TIFF driver). Each lands in CACHE/NAME-VERSION-mingw64, once: a
# stamp file marks a finished build, so later builds and CI reuse it.
# CACHE is $KAVREL_CACHE, else ~/.cache/kavrel; LIBRARY is coin or tiff
# (default both).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache=${KAVREL_CACHE:-$HOME/.cache/kavrel}
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
# One build at a time: clones and work trees share the cache, and a second
# build would delete the first one's work folder.
mkdir -p "$cache"
exec 9>"$cache/.build.lock"
flock 9

# The newest source of the package that the mirrors still hold (a security
# update may list a version its archive no longer serves).
fetch_source() {
  local version
  for version in $(apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -rV); do
    apt-get source --download-only "$1=$version" >/dev/null 2>&1 && return 0
    rm -f ./*.dsc ./*.debian.tar.* ./*.diff.gz
  done
  echo "mingw libraries: cannot fetch the source of $1" >&2
  return 1
}

# build NAME VERSION SOURCE-PACKAGE [cmake options...]
build() {
  local name=$1 version=$2 package=$3; shift 3
  local prefix=$cache/$name-$version-mingw64
  [ -f "$prefix/.complete" ] && return 0
  local work=$prefix.build start
  start=$(date +%s)
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
  echo "mingw libraries: building $name $version for Windows in $work"
  (cd "$work" && fetch_source "$package" && dpkg-source -x "${package}"_*.dsc src >/dev/null 2>&1)
  # try_run checks execute the test programs under Wine.
  WINEPREFIX=$work/wine WINEDEBUG=-all cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine64" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$work/configure.log" 2>&1 \
    || { tail -40 "$work/configure.log"; return 1; }
  if [ "$name" = coin ]; then
    # MinGW's struct timeval holds longs, which the configure checks miss.
    sed -i -E 's/^(#define SIM_TIMEVAL_TV_(U)?SEC_T).*/\1 long/' "$work/build/src/config.h"
    grep -q 'SIM_TIMEVAL_TV_SEC_T long' "$work/build/src/config.h"
  fi
  nice cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 \
    || { grep -m5 -B2 -A10 'error' "$work/build.log"; return 1; }
  cmake --install "$work/build" >/dev/null
  echo "$(( $(date +%s) - start )) seconds" >"$work/seconds"
  mv "$work/seconds" "$prefix/.complete"
  echo "mingw libraries: $name built in $(cat "$prefix/.complete"), installed in $prefix"
  rm -rf "$work"
}

build_coin() {
  # Debian's /usr/include mixes Linux headers with Boost's; Coin3D's build
# gets a folder that holds Boost alone.
  local boost=$cache/boost-include
  mkdir -p "$boost" && ln -sfn /usr/include/boost "$boost/boost"
  build coin 4.0.0 coin3 \
    -DBoost_INCLUDE_DIR="$boost" -DCOIN_BUILD_TESTS=OFF -DCOIN_BUILD_DOCUMENTATION=OFF \
    -DCOIN_BUILD_SHARED_LIBS=ON -DCOIN_THREADSAFE=ON -DUSE_EXTERNAL_EXPAT=OFF -DHAVE_SOUND=OFF
}

build_tiff() {
  # Uncompressed and LZW TIFFs only: the host writes LZW and reads what it
  # wrote. POSIX-style file descriptors (not Win32 handles), as the host's
  # TIFF driver hands libtiff the descriptor of its temporary file.
  build tiff "$(apt-cache showsrc tiff | sed -n 's/^Version: \([0-9.]*\).*/\1/p' | head -1)" tiff \
    -DBUILD_SHARED_LIBS=ON -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
    -Dcxx=OFF -Dzlib=OFF -Dlibdeflate=OFF -Djpeg=OFF -Dold-jpeg=OFF -Djbig=OFF -Dlerc=OFF \
    -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dwin32-io=OFF
}

for library in "${@:-coin tiff}"; do
  for name in $library; do "build_$name"; done
done

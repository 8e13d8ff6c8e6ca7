#!/usr/bin/env bash
# install_test.sh BUILD_DIR SOURCE_DIR CMAKE: installs into a temporary
# prefix and converts a model with the installed command alone: a clean
# environment, no library or plug-in loaded from the build or source tree.
set -euo pipefail
build=$(cd "$1" && pwd); source=$(cd "$2" && pwd); cmake=$3
prefix=$(mktemp -d); work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for file in bin/kavrel-convert share/kavrel/examples/showcase.iv include/kavrel/host/kv_toolkit.h \
            lib/cmake/kavrel/kavrelConfig.cmake share/man/man1/kavrel-convert.1; do
  [ -e "$prefix/$file" ] || fail "$file was not installed"
done
[ -n "$(find "$prefix/lib/kavrel" -name 'kavrel_inventor*')" ] || fail "the plug-in was not installed"

# Every library the loader maps (the plug-in included, which is loaded with
# dlopen) and every search path it tries, outside the build and source trees.
cp "$source/examples/vrml1_house.wrl" "$work/house.wrl"
# A sanitizer build's settings (Coin3D's known leaks) survive the clean environment.
sanitizer_settings=()
for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  if [ -n "${!name:-}" ]; then sanitizer_settings+=("$name=${!name}"); fi
done
cd "$work"
env -i PATH=/usr/bin:/bin HOME="$work" "${sanitizer_settings[@]}" LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/loader" \
  "$prefix/bin/kavrel-convert" -q -o house.glb house.wrl || fail "the installed command failed"
[ "$(head -c 4 house.glb)" = glTF ] || fail "no glTF written"
grep -q "calling init: $prefix/.*kavrel_inventor" "$work"/loader.* || fail "the installed plug-in was not loaded"
if grep -e "$build" -e "$source" "$work"/loader.*; then fail "the loader looked into the build or source tree"; fi
if readelf -d "$prefix/bin/kavrel-convert" "$prefix"/lib/kavrel/* | grep -i -e "$build" -e "$source"; then
  fail "an RPATH points into the build or source tree"
fi
# An empty run path entry would load libraries from the current directory.
if readelf -d "$build/kavrel/cli/kavrel-convert" "$prefix/bin/kavrel-convert" | grep -E 'R(UN)?PATH.*(\[:|::|:\])'; then
  fail "a run path searches the current directory"
fi

# With no INPUT, the installed example.
env -i PATH=/usr/bin:/bin HOME="$work" "${sanitizer_settings[@]}" "$prefix/bin/kavrel-convert" -q || fail "the bundled example failed"
[ -f showcase.glb ] || fail "the bundled example was not converted"
echo "install_test: installed command converts on its own"

#!/usr/bin/env bash
# run_addon_test.sh MODE BLENDER BUILD_DIR SOURCE_DIR CMAKE: runs addon_test.py
# in one headless Blender of its own (blender_sandbox.sh).
#   installed: the build installed into a temporary prefix; the add-on from
#              its share/kavrel/blender, kavrel-convert from its bin/ on PATH
#   zip:       the add-on installed from the build's zip into the clean profile
set -euo pipefail
mode=$1 blender=$2 build=$3 source=$4 cmake=$5
source "$source/tests/blender/blender_sandbox.sh"
converter=$build/kavrel/cli/kavrel-convert
if [ "$mode" = installed ]; then
  "$cmake" --install "$build" --prefix "$work/prefix" >/dev/null
  addon=$work/prefix/share/kavrel/blender
  export PATH="$work/prefix/bin:$PATH"
else
  addon=$build/blender/io_import_inventor.zip
fi
run_blender "$blender" "$source/tests/blender/addon_test.py" \
  --mode "$mode" --addon "$addon" --converter "$converter" \
  --models /usr/share/inventor/data/models --examples "$source/examples"

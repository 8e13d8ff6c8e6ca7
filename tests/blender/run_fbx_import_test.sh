#!/usr/bin/env bash
# run_fbx_import_test.sh BLENDER BUILD_DIR SOURCE_DIR: runs
# fbx_import_test.py in one headless Blender of its own (blender_sandbox.sh).
set -euo pipefail
blender=$1 build=$2 source=$3
source "$source/tests/blender/blender_sandbox.sh"
run_blender "$blender" "$source/tests/blender/fbx_import_test.py" \
  --converter "$build/kavrel/cli/kavrel-convert" --models /usr/share/inventor/data/models

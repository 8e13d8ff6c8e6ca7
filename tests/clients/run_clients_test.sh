#!/usr/bin/env bash
# run_clients_test.sh BLENDER PRUSA_SLICER BUILD_DIR SOURCE_DIR: runs
# clients_test.py in one headless Blender of its own
# (tests/blender/blender_sandbox.sh); the converted files go to its work folder.
set -euo pipefail
blender=$1 prusa_slicer=$2 build=$3 source=$4
source "$source/tests/blender/blender_sandbox.sh"
mkdir -p "$work/files"
run_blender "$blender" "$source/tests/clients/clients_test.py" \
  --converter "$build/kavrel/cli/kavrel-convert" --models /usr/share/inventor/data/models \
  --work "$work/files" --prusa-slicer "$prusa_slicer"

#!/usr/bin/env bash
# compare_corpus.sh LINUX_CONVERT WINDOWS_CONVERT MODELS VALIDATOR SCRATCH [--damaged]
# Converts every model under MODELS (.iv, .wrl) with the Linux kavrel-convert
# and with the Windows one under Wine, to .glb and to .obj: for every model
# the exit status, the statistics lines, whether an output was written and
# the groups, faces and materials of the OBJ must be equal, and every glTF
# the Windows build writes must pass the validator. Without
# --damaged every model must also convert (status 0, statistics, output);
# with it, failing alike is a match. Leaves the outputs in SCRATCH (emptied
# first).
set -uo pipefail
linux=$1 windows=$2 models=$3 validator=$4 scratch=$5 damaged=${6:-}
rm -rf "$scratch"
mkdir -p "$scratch/linux" "$scratch/windows"

# 3D text is made of the glyphs of whatever font system Coin3D finds
# (FreeType here, the Win32 fonts there), and fonts differ in their outlines:
# both sides use Coin3D's built-in font for the comparison, so every
# model, text included, must match to the polygon.
export COIN_FORCE_FREETYPE_OFF=1 COIN_FORCE_WIN32FONTS_OFF=1

# The plug-in's statistics block; the C runtime on Windows ends lines with CR LF.
statistics() { tr -d '\r' | grep -E $'^(Inventor2/VRML1 import parsing statistics:|\t)'; }

# obj_shape FILE: what an OBJ holds that must not depend on the platform
# (its numbers may differ in the last digits: Coin3D's maths is the C
# library's of each side).
obj_shape() {
  [ -e "$1" ] || { echo "no .obj"; return; }
  echo "$(grep -c '^g ' "$1") groups, $(grep -c '^f ' "$1") faces, $(grep -c '^newmtl ' "${1%.obj}.mtl") materials"
}

# convert SIDE COMMAND... MODEL NAME: statistics, exit status and "written"
# or "none" of the .glb, then the .obj's exit status and shape, in
# SCRATCH/SIDE/NAME.result.
convert() {
  local side=$1 name=${*: -1} model=${*: -2:1} status obj_status
  local out=$scratch/$side/$name
  "${@:2:$#-3}" -q -O print_stats=1 -o "$out.glb" "$model" 2>"$out.err" | statistics >"$out.stats"
  status=${PIPESTATUS[0]}
  "${@:2:$#-3}" -q -o "$out.obj" "$model" >/dev/null 2>>"$out.err"
  obj_status=$?
  { echo "exit status $status"; [ -e "$out.glb" ] && echo written || echo none; cat "$out.stats"
    echo "obj: exit status $obj_status, $(obj_shape "$out.obj")"; } >"$out.result"
}

count=0 failures=0
while IFS= read -r model; do
  name=${model#"$models"/}
  name=${name//\//_}
  name=${name%.*}
  convert linux "$linux" "$model" "$name"
  convert windows wine "$windows" "$model" "$name"
  count=$((count + 1))
  expected=$scratch/linux/$name.result
  if ! cmp -s "$expected" "$scratch/windows/$name.result" ||
     { [ -z "$damaged" ] && { [ ! -s "$scratch/linux/$name.stats" ] || ! grep -qx written "$expected"; }; }; then
    echo "results differ for $model:"
    diff "$expected" "$scratch/windows/$name.result" | head -20
    head -5 "$scratch/windows/$name.err"
    failures=$((failures + 1))
  fi
done < <(find "$models" -name '*.iv' -o -name '*.wrl' | sort)

written=("$scratch"/windows/*.glb)
objs=("$scratch"/windows/*.obj)
if [ -z "$damaged" ] && { [ ${#written[@]} -ne "$count" ] || [ ${#objs[@]} -ne "$count" ]; }; then
  echo "the Windows build wrote ${#written[@]} glTF and ${#objs[@]} OBJ files for $count models"
  failures=$((failures + 1))
fi
if [ -e "${written[0]}" ] && ! node "$validator" "${written[@]}" >"$scratch/validator.txt"; then
  grep -v ': 0 errors' "$scratch/validator.txt" | head -40
  failures=$((failures + 1))
fi
echo "compare_corpus: $count models, $failures failures"
[ "$failures" -eq 0 ]

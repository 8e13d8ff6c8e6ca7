#!/usr/bin/env bash
# compare_damaged.sh LINUX_CONVERT WINDOWS_CONVERT MODELS KNOWN VALIDATOR SCRATCH
# Writes damaged inputs into SCRATCH/inputs, made from the inventor-data
# models under MODELS, with the fuzzers' reduced crash reproducers of KNOWN:
# empty, cut short (ASCII, binary, gzip), garbage after a valid header,
# unbalanced braces, index fields shorter than their bindings, VRML 2.0.
# Every byte is fixed, so both builds read the same files. Then
# compare_corpus.sh --damaged converts them with both builds (outputs in
# SCRATCH/out).
set -euo pipefail
linux=$1 windows=$2 models=$3 known=$4 validator=$5 scratch=$6
dir=$scratch/inputs
rm -rf "$scratch"
mkdir -p "$dir"
cut_short() { head -c "$(($(stat -c %s "$1") / 2))" "$1" >"$2"; }

: >"$dir/empty.iv"
printf '#VRML V2.0 utf8\nShape { geometry Box { } }\n' >"$dir/vrml2.wrl"
printf '#Inventor V2.1 ascii\n\nSeparator { Cube { width } \n' >"$dir/unbalanced.iv"
printf '#Inventor V2.1 ascii\nSeparator { Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0 ] }\n%s\n' \
  'NormalBinding { value PER_VERTEX_INDEXED } IndexedFaceSet { coordIndex [ 0, 1, 2, 3, -1 ] normalIndex [ 0 ] } }' \
  >"$dir/short_normal_index.iv"
cut_short "$models/bird.iv" "$dir/bird_cut.iv"
cut_short "$models/engine.iv" "$dir/engine_binary_cut.iv"
gzip -9cn "$models/chair.iv" | head -c 300 >"$dir/chair_gzip_cut.iv"
# A valid header, then bytes of no format: the same every time (a fixed
# linear congruential sequence).
{ printf '#Inventor V2.1 ascii\n\nSeparator {\n'
  awk 'BEGIN { x = 12345; for (i = 0; i < 4096; ++i) { x = (x * 1103515245 + 12345) % 2147483648;
       printf "%c", 32 + int(x / 65536) % 95 } }'; } >"$dir/garbage.iv"
cp "$known"/*.iv "$dir/"
exec bash "$(dirname "$0")/compare_corpus.sh" "$linux" "$windows" "$dir" "$validator" "$scratch/out" --damaged

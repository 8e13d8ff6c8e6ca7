#!/usr/bin/env bash
# compare_corpus.sh LINUX_CONVERT WINDOWS_CONVERT MODELS VALIDATOR SCRATCH
# Converts every Inventor model under MODELS with the Linux kavrel-convert
# and with the Windows one under Wine: for every model the statistics lines
# must be equal, and every glTF the Windows build writes must pass the
# validator. Leaves the outputs in SCRATCH (emptied first).
set -uo pipefail
linux=$1 windows=$2 models=$3 validator=$4 scratch=$5
rm -rf "$scratch"
mkdir -p "$scratch/linux" "$scratch/windows"

# 3D text is made of the glyphs of whatever font system Coin3D finds
# (FreeType here, the Win32 fonts there), and fonts differ in their outlines:
# both sides use Coin3D's built-in font for the comparison, so every
# model, text included, must match to the polygon.
export COIN_FORCE_FREETYPE_OFF=1 COIN_FORCE_WIN32FONTS_OFF=1

# The plug-in's statistics block; the C runtime on Windows ends lines with CR LF.
statistics() { tr -d '\r' | grep -E $'^(Inventor2/VRML1 import parsing statistics:|\t)'; }

count=0 failures=0
while IFS= read -r model; do
  name=${model#"$models"/}
  name=${name//\//_}
  name=${name%.iv}
  "$linux" -q -O print_stats=1 -o "$scratch/linux/$name.glb" "$model" 2>"$scratch/linux/$name.err" \
    | statistics >"$scratch/linux/$name.stats"
  wine "$windows" -q -O print_stats=1 -o "$scratch/windows/$name.glb" "$model" 2>"$scratch/windows/$name.err" \
    | statistics >"$scratch/windows/$name.stats"
  count=$((count + 1))
  if [ ! -s "$scratch/linux/$name.stats" ] || ! cmp -s "$scratch/linux/$name.stats" "$scratch/windows/$name.stats"; then
    echo "statistics differ for $model:"
    diff "$scratch/linux/$name.stats" "$scratch/windows/$name.stats" | head -20
    head -5 "$scratch/windows/$name.err"
    failures=$((failures + 1))
  fi
done < <(find "$models" -name '*.iv' | sort)

written=("$scratch"/windows/*.glb)
if [ ${#written[@]} -ne "$count" ]; then
  echo "the Windows build wrote ${#written[@]} glTF files for $count models"
  failures=$((failures + 1))
fi
if ! node "$validator" "${written[@]}" >"$scratch/validator.txt"; then
  grep -v ': 0 errors' "$scratch/validator.txt" | head -40
  failures=$((failures + 1))
fi
echo "compare_corpus: $count models, $failures failures"
[ "$failures" -eq 0 ]

#!/usr/bin/env bash
# formats/digests.sh [BUILD_DIR] OUT_DIR: converts every inventor-data model
# (recursively, .iv and .wrl) to every output format kavrel-convert writes,
# as WORK/MODEL/out.EXT (with an OBJ's .mtl and texture copies, a JSON dump's
# texture folder), and lists the SHA-256 of every file written in
# OUT_DIR/digests.txt and the command's summary lines in OUT_DIR/summaries.txt;
# the files themselves are copied to OUT_DIR/files. WORK is the same folder
# for every run (a JSON dump names the paths of extracted textures):
# ${KAVREL_BENCH_DIR:-/tmp/kavrel-bench}/digests.
# COLLADA, which stamps the time of writing, is digested without it. Two
# runs' lists compared with diff show which
# outputs a change touched:
#   bench/formats/digests.sh build /tmp/before; ...; bench/formats/digests.sh build /tmp/after
#   diff /tmp/before/digests.txt /tmp/after/digests.txt
# FORMATS (default: glb gltf obj wrl x3d ply stl dae 3mf fbx json) and MODELS (default:
# /usr/share/inventor/data/models) may be set in the environment.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -ge 2 ]; then build=$(cd "$1" && pwd); shift; else build=$root/build; fi
out=${1:?usage: digests.sh [BUILD_DIR] OUT_DIR}
models=${MODELS:-/usr/share/inventor/data/models}
formats=${FORMATS:-glb gltf obj wrl x3d ply stl dae 3mf fbx json}
convert=$build/kavrel/cli/kavrel-convert

work=${KAVREL_BENCH_DIR:-${TMPDIR:-/tmp}/kavrel-bench}/digests
rm -rf "$out" "$work"
mkdir -p "$out" "$work/files" "$work/support" "$work/runs"
out=$(cd "$out" && pwd)
export convert work
# One conversion: MODEL_RELATIVE_PATH FORMAT; its stdout's summary line kept.
convert_one() {
  local model=$1 format=$2 dir
  dir=$work/files/${model%.*}
  mkdir -p "$dir"
  (cd "$dir" && "$convert" --support-dir "$work/support" --overwrite -o "out.$format" "$MODELS_DIR/$model" \
     >"$work/runs/${model//\//_}.$format.out" 2>/dev/null) || echo "exit $?" >>"$work/runs/${model//\//_}.$format.out"
}
export -f convert_one
export MODELS_DIR=$models
(cd "$models" && find . -type f \( -iname '*.iv' -o -iname '*.wrl' \) | sed 's|^\./||' | sort) >"$out/models.txt"
while read -r model; do
  for format in $formats; do printf '%s\t%s\n' "$model" "$format"; done
done <"$out/models.txt" | xargs -P "${JOBS:-2}" -d '\n' -n 1 bash -c 'IFS=$'"'\t'"' read -r m f <<<"$0"; convert_one "$m" "$f"'

(cd "$work/files" && find . -type f | sed 's|^\./||' | sort | python3 "$root/bench/formats/timeless_digests.py") \
  >"$out/digests.txt"
(cd "$work/runs" && for f in $(ls | sort); do printf '%s: ' "$f"; grep -h '^Output: \|^exit ' "$f" | tr '\n' ' '; echo; done) \
  >"$out/summaries.txt"
cp -a "$work/files" "$out/files"
echo "digests: $(wc -l <"$out/digests.txt") files in $out/digests.txt, summaries in $out/summaries.txt"

#!/usr/bin/env bash
# mesh/run.sh [BUILD_DIR]: welds a 1,000,000-triangle mesh stored as
# 3,000,000 separate corners (positions, normals, texture coordinates, each
# with threshold 0.0001) and exports it to .glb. Prints the phases, the
# process's wall time and peak memory; exits 1 when weld + export take
# 1.5 s or more or the peak reaches 500 MB.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=${KAVREL_BENCH_DIR:-${TMPDIR:-/tmp}/kavrel-bench}/mesh
mkdir -p "$work"

cmake --build "$build" --target bench_mesh_weld >/dev/null
bench=$build/bench/mesh/bench_mesh_weld

/usr/bin/time -f '%e %M' -o "$work/weld.time" "$bench" "$work/grid.glb" 1000000 | tee "$work/weld.out"
read -r wall_s peak_kb <"$work/weld.time"
work_s=$(awk '/weld\+export/ { print $(NF-1) }' "$work/weld.out")
verdict=$(awk -v w="$work_s" -v k="$peak_kb" 'BEGIN { print (w < 1.5 && k < 500 * 1024) ? "ok" : "MISSED" }')
printf 'process wall %s s (including building the input), peak %d MB; weld+export %s s: %s (targets 1.5 s, 500 MB)\n' \
  "$wall_s" $((peak_kb / 1024)) "$work_s" "$verdict"
[ "$verdict" = ok ]

#!/usr/bin/env bash
# formats/run.sh [BUILD_DIR]: kavrel-convert of the convert benchmark's
# large grid (700 x 700 quads, 980,000 triangles) to .glb, .obj, .wrl,
# .x3d, .ply, .stl, .fbx and .3mf. Prints the wall and processor time of
# each (best of KAVREL_BENCH_RUNS runs, default 3) and its ratio to the
# .glb; exits 1 when a format takes more than 1.5x the .glb's wall time.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=${KAVREL_BENCH_DIR:-${TMPDIR:-/tmp}/kavrel-bench}/formats
mkdir -p "$work"

cmake --build "$build" --target kavrel-convert inventor_import bench_convert_generate >/dev/null
convert=$build/kavrel/cli/kavrel-convert
input=$work/grid.iv
[ -s "$input" ] || { "$build/bench/convert/bench_convert_generate" grid "$input.part" && mv "$input.part" "$input"; }
runs=${KAVREL_BENCH_RUNS:-3}

# best FORMAT: the fastest run's "<wall s> <cpu s>".
best() {
  local format=$1 run wall cpu best_wall="" best_cpu=""
  for ((run = 0; run < runs; ++run)); do
    /usr/bin/time -f '%e %U %S' -o "$work/$format.time" \
      "$convert" -q --support-dir "$work/support" -o "$work/grid.$format" "$input" >/dev/null 2>"$work/$format.err" ||
      { tail -5 "$work/$format.err" >&2; exit 1; }
    read -r wall user sys <"$work/$format.time"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')
    if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then
      best_wall=$wall; best_cpu=$cpu
    fi
  done
  echo "$best_wall $best_cpu"
}

read -r glb_wall glb_cpu < <(best glb)
printf '%-6s %8s %8s %8s  %s\n' format wall_s cpu_s time_x verdict
printf '%-6s %8.2f %8.2f %8s\n' glb "$glb_wall" "$glb_cpu" 1.00
status=0
for format in obj wrl x3d ply stl fbx 3mf; do
  read -r wall cpu < <(best "$format")
  awk -v f="$format" -v w="$wall" -v c="$cpu" -v g="$glb_wall" 'BEGIN {
    x = w / (g > 0.01 ? g : 0.01); verdict = x <= 1.5 ? "ok" : "MISSED";
    printf "%-6s %8.2f %8.2f %8.2f  %s (target 1.5x the .glb)\n", f, w, c, x, verdict; exit verdict != "ok" }' || status=1
done
rm -f "$work"/grid.glb "$work"/grid.obj "$work"/grid.mtl "$work"/grid.wrl "$work"/grid.x3d "$work"/grid.ply \
  "$work"/grid.stl "$work"/grid.fbx "$work"/grid.3mf
exit $status

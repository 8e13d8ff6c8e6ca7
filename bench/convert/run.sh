#!/usr/bin/env bash
# convert/run.sh [BUILD_DIR]: kavrel-convert (to .glb, default options)
# against a Coin3D-only baseline that reads the same file and collects its
# triangles. Prints wall time and peak memory of both and their ratios;
# exits 1 when a ratio misses its target.
#   grid:   700 x 700 quads in one IndexedFaceSet   time <= 1.5x, memory <= 2x
#   shapes: 20,000 (distinct materials) and 50,000 (2,000 materials) primitives
#                                                   time <= 2x,   memory <= 2x
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=${KAVREL_BENCH_DIR:-${TMPDIR:-/tmp}/kavrel-bench}/convert
mkdir -p "$work"

cmake --build "$build" --target kavrel-convert inventor_import bench_convert_generate bench_convert_baseline >/dev/null
convert=$build/kavrel/cli/kavrel-convert
generate=$build/bench/convert/bench_convert_generate
baseline=$build/bench/convert/bench_convert_baseline

# measure PREFIX COMMAND...: runs it once, "<seconds> <peak KB>" into PREFIX.time.
measure() {
  local prefix=$1; shift
  if ! /usr/bin/time -f '%e %M' -o "$prefix.time" "$@" >"$prefix.out" 2>"$prefix.err"; then
    echo "failed: $*" >&2
    tail -5 "$prefix.err" >&2
    exit 1
  fi
}

status=0
printf '%-16s %10s %10s %10s %10s %8s %8s  %s\n' input base_s base_MB conv_s conv_MB time_x mem_x verdict
for entry in grid:1.5 shapes-distinct:2 shapes-shared:2; do
  kind=${entry%%:*}; time_target=${entry##*:}
  input=$work/$kind.iv
  [ -s "$input" ] || { "$generate" "$kind" "$input.part" && mv "$input.part" "$input"; }
  measure "$work/$kind.baseline" "$baseline" "$input"
  measure "$work/$kind.convert" "$convert" -q --support-dir "$work/support" -o "$work/$kind.glb" "$input"
  read -r base_s base_kb <"$work/$kind.baseline.time"
  read -r conv_s conv_kb <"$work/$kind.convert.time"
  verdict=$(awk -v bs="$base_s" -v bk="$base_kb" -v cs="$conv_s" -v ck="$conv_kb" -v tt="$time_target" 'BEGIN {
    tx = cs / (bs > 0.01 ? bs : 0.01); mx = ck / bk;
    printf "%.2f %.2f %s", tx, mx, (tx <= tt && mx <= 2) ? "ok" : "MISSED" }')
  read -r time_x mem_x result <<<"$verdict"
  printf '%-16s %10s %10d %10s %10d %8s %8s  %s (targets %sx time, 2x memory)\n' "$kind" "$base_s" \
    $((base_kb / 1024)) "$conv_s" $((conv_kb / 1024)) "$time_x" "$mem_x" "$result" "$time_target"
  [ "$result" = ok ] || status=1
done
exit $status

#!/usr/bin/env bash
# windows/run.sh [BUILD_DIR]: kavrel-convert.exe of the Windows build
# ($KAVREL_WINDOWS_BUILD, default build-windows/) under Wine beside the
# Linux kavrel-convert of BUILD_DIR, on vehicles/767.iv of inventor-data and
# on the convert benchmark's 700 x 700 grid. Prints the wall and CPU times
# of both (best of KAVREL_BENCH_RUNS runs, default 3) and their ratio, and
# the same without the start of the process (kavrel-convert --version: the
# program and its DLLs loaded, Wine's start-up) as "conv_x"; exits 1 when
# Wine takes more than 1.5x on the grid, or more than 3x on the 767 (a small
# file: mostly starting the program). Skipped without a Windows build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
windows=${KAVREL_WINDOWS_BUILD:-$root/build-windows}
work=${KAVREL_BENCH_DIR:-${TMPDIR:-/tmp}/kavrel-bench}/windows
if [ ! -x "$windows/bin/kavrel-convert.exe" ] || ! command -v wine >/dev/null; then
  echo "skipped: no Windows build in $windows (scripts/build-windows.sh makes one)"
  exit 0
fi
mkdir -p "$work"
cmake --build "$build" --target kavrel-convert inventor_import bench_convert_generate >/dev/null
export WINEPREFIX=${WINEPREFIX:-$windows/wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A resident Wine server, as on a desktop where Wine is already running.
wineserver -p 2>/dev/null || true  # one already running serves as well
trap 'wineserver -k 2>/dev/null || true' EXIT
runs=${KAVREL_BENCH_RUNS:-3}

# best SECONDS_FILE COMMAND...: the fastest of $runs runs as "<wall s> <cpu s>".
best() {
  local out=$1; shift
  local run
  rm -f "$out"
  for ((run = 0; run < runs; ++run)); do
    /usr/bin/time -f '%e %U %S' -o "$out.try" "$@" >/dev/null 2>"$out.err" || { tail -5 "$out.err" >&2; exit 1; }
    if [ ! -s "$out" ] || awk -v a="$(cut -d' ' -f1 "$out.try")" -v b="$(cut -d' ' -f1 "$out")" 'BEGIN { exit !(a < b) }'; then
      mv "$out.try" "$out"
    fi
  done
  rm -f "$out.try"
}

grid=$work/grid.iv
[ -s "$grid" ] || { "$build/bench/convert/bench_convert_generate" grid "$grid.part" && mv "$grid.part" "$grid"; }
best "$work/start.linux" "$build/kavrel/cli/kavrel-convert" --version
best "$work/start.wine" wine "$windows/bin/kavrel-convert.exe" --version
read -r ls0 _ <"$work/start.linux"
read -r ws0 _ <"$work/start.wine"
echo "process start (--version): linux $ls0 s, wine $ws0 s"
status=0
printf '%-8s %9s %9s | %9s %9s | %7s %7s %7s  %s\n' input linux_s linux_cpu wine_s wine_cpu time_x cpu_x conv_x verdict
for entry in /usr/share/inventor/data/models/vehicles/767.iv:3 "$grid:1.5"; do
  input=${entry%:*} target=${entry##*:}
  name=$(basename "$input" .iv)
  best "$work/$name.linux" "$build/kavrel/cli/kavrel-convert" -q --support-dir "$work/support" -o "$work/$name.glb" "$input"
  best "$work/$name.wine" wine "$windows/bin/kavrel-convert.exe" -q --support-dir "$work/support" \
    -o "$work/$name-windows.glb" "$input"
  read -r ls lu lsys <"$work/$name.linux"
  read -r ws wu wsys <"$work/$name.wine"
  awk -v n="$name" -v ls="$ls" -v lu="$lu" -v ly="$lsys" -v ws="$ws" -v wu="$wu" -v wy="$wsys" \
      -v ls0="$ls0" -v ws0="$ws0" -v t="$target" 'BEGIN {
    lc = lu + ly; wc = wu + wy;
    tx = ws / (ls > 0.01 ? ls : 0.01); cx = wc / (lc > 0.01 ? lc : 0.01);
    lnet = ls - ls0; vx = (ws - ws0) / (lnet > 0.01 ? lnet : 0.01);
    verdict = tx <= t ? "ok" : "MISSED";
    printf "%-8s %9.2f %9.2f | %9.2f %9.2f | %7.2f %7.2f %7.2f  %s (target %sx)\n", n, ls, lc, ws, wc, tx, cx, vx, verdict, t
    exit verdict != "ok" }' || status=1
done
exit $status

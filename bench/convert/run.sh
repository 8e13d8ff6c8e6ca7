#!/usr/bin/env bash
# convert/run.sh [BUILD_DIR] [--large]: kavrel-convert (to .glb, default
# options) against Coin3D alone (bench_convert_baseline: SoDB::readAll and a
# SoCallbackAction triangle pass, the floor) and OpenSceneGraph's osgconv to
# .osgb (the nearest peer; Debian's openscenegraph, installed when missing
# and possible). Each program runs KAVREL_BENCH_RUNS times (default 3); the
# table shows the median run by wall time with its processor time and peak
# memory, and the ratios to Coin3D and osgconv. The three programs take
# turns run after run, so that a drift in the machine's speed hits all.
#   grid: 700 x 700 quads in one IndexedFaceSet   time <= 1.1x Coin3D
#   many: 20,000 separators, distinct materials    time <= 1.1x Coin3D
#   both: faster than osgconv, peak memory <= 1.3x Coin3D's, and the same
#         statistics and glTF content as recorded in expected_content.txt
# Then the linear-growth family: grids of 0.25M, 1M and 4M triangles (and
# 10M with --large), whose time and memory per triangle must stay within
# 15% of each other. Per triangle means beyond the cost of starting up
# (loading Coin3D and the plug-in), measured on a grid of 128 triangles;
# the verdict is on processor time, the steady measure on a shared machine,
# with wall time beside it. Exits 1 when a target is missed or a run fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
large=0
build_arg=
for arg in "$@"; do
  if [ "$arg" = --large ]; then large=1; else build_arg=$arg; fi
done
build=$(cd "${build_arg:-$root/build}" && pwd)
work=${KAVREL_BENCH_DIR:-${TMPDIR:-/tmp}/kavrel-bench}/convert
mkdir -p "$work"
runs=${KAVREL_BENCH_RUNS:-3}

cmake --build "$build" --target kavrel-convert inventor_import bench_convert_generate bench_convert_baseline >/dev/null
convert=$build/kavrel/cli/kavrel-convert
generate=$build/bench/convert/bench_convert_generate
baseline=$build/bench/convert/bench_convert_baseline

if ! command -v osgconv >/dev/null && [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y openscenegraph >/dev/null 2>&1 || true
fi
have_osg=0
command -v osgconv >/dev/null && have_osg=1

# timed PREFIX COMMAND...: one run, its "<wall s> <cpu s> <peak KB>"
# appended to PREFIX.all (its output in PREFIX.out and PREFIX.err).
timed() {
  local prefix=$1; shift
  # The previous run's output (up to gigabytes) is written back to disk
  # first, not in the background of this one.
  sync
  if ! /usr/bin/time -f '%e %U %S %M' -o "$prefix.try" "$@" >"$prefix.out" 2>"$prefix.err"; then
    echo "failed: $*" >&2
    tail -5 "$prefix.err" >&2
    exit 1
  fi
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$prefix.try" >>"$prefix.all"
  rm -f "$prefix.try"
}

# keep_median PREFIX: the median run of PREFIX.all by wall time, in PREFIX.time.
keep_median() {
  sort -n "$1.all" | awk -v n="$runs" 'NR == int((n + 1) / 2)' >"$1.time"
}

# measure PREFIX COMMAND...: $runs runs, the median kept.
measure() {
  local prefix=$1 run; shift
  : >"$prefix.all"
  for ((run = 0; run < runs; ++run)); do timed "$prefix" "$@"; done
  keep_median "$prefix"
}

input_for() {  # input_for KIND [QUADS]: the input file, made once
  local input=$work/$1${2:+-$2}.iv
  [ -s "$input" ] || { "$generate" "$1" "$input.part" ${2:+"$2"} && mv "$input.part" "$input"; }
  echo "$input"
}

# "<polygons objects cameras lights surfaces> <nodes triangles digest>" of our last run.
content_of() {
  local prefix=$1
  echo "$(grep -ho '= [0-9]*' "$prefix.out" "$prefix.err" 2>/dev/null | grep -o '[0-9]*' | tr '\n' ' ')$(python3 "$root/bench/convert/gltf_content.py" "$prefix.glb")"
}

status=0
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)   runs per program: $runs (median by wall time)"
printf '%-6s | %-18s | %-18s | %-18s | %-17s | %-11s | %s\n' input "Coin3D s/cpu/MB" "osgconv s/cpu/MB" \
  "kavrel s/cpu/MB" "ours/Coin time cpu mem" "ours/osg" "verdict"
for entry in grid:1.1 many:1.1; do
  kind=${entry%%:*}; target=${entry##*:}
  input=$(input_for "$kind")
  # The three take turns, run after run: a virtual machine's speed drifts
  # over minutes, and each program should see the same drift.
  : >"$work/$kind.coin.all"; : >"$work/$kind.osg.all"; : >"$work/$kind.ours.all"
  for ((run = 0; run < runs; ++run)); do
    timed "$work/$kind.coin" "$baseline" "$input"
    ((have_osg)) && timed "$work/$kind.osg" osgconv "$input" "$work/$kind.osgb"
    timed "$work/$kind.ours" "$convert" -q --support-dir "$work/support" -o "$work/$kind.ours.glb" "$input"
  done
  keep_median "$work/$kind.coin"
  keep_median "$work/$kind.ours"
  osg="- - -"
  if ((have_osg)); then
    keep_median "$work/$kind.osg"
    osg=$(cat "$work/$kind.osg.time")
  fi
  content=$(content_of "$work/$kind.ours")
  expected=$(awk -v k="$kind" '$1 == k { $1 = ""; sub(/^ /, ""); print }' "$root/bench/convert/expected_content.txt")
  same=$([ "$content" = "$expected" ] && echo same || echo CHANGED)
  read -r cs cc ck <"$work/$kind.coin.time"
  read -r os oc ok <<<"$osg"
  read -r ks kc kk <"$work/$kind.ours.time"
  awk -v kind="$kind" -v t="$target" -v cs="$cs" -v cc="$cc" -v ck="$ck" -v os="$os" -v oc="$oc" -v ok="$ok" \
      -v ks="$ks" -v kc="$kc" -v kk="$kk" -v same="$same" 'BEGIN {
    tx = ks / (cs > 0.01 ? cs : 0.01); cx = kc / (cc > 0.01 ? cc : 0.01); mx = kk / ck;
    osg = os == "-" ? "-" : sprintf("%.2fx", ks / (os > 0.01 ? os : 0.01));
    beats = os == "-" || ks < os;
    verdict = (tx <= t && mx <= 1.3 && beats && same == "same") ? "ok" : "MISSED";
    printf "%-6s | %5.2f %5.2f %6d | %5s %5s %6s | %5.2f %5.2f %6d | %5.2fx %5.2fx %4.2fx | %-11s | %s (%sx, 1.3x memory, ahead of osgconv; content %s)\n",
      kind, cs, cc, ck / 1024, os, oc, ok == "-" ? "-" : int(ok / 1024), ks, kc, kk / 1024, tx, cx, mx, osg, verdict, t, same
    exit verdict != "ok" }' || status=1
  [ "$same" = same ] || echo "  content now:  $content"$'\n'"  recorded:     $expected" >&2
done

# The linear-growth family: ours alone, per triangle beyond the start-up.
sizes="354 707 1414"
((large)) && sizes="$sizes 2236"
measure "$work/family-8" "$convert" -q --support-dir "$work/support" -o "$work/family-8.glb" "$(input_for grid 8)"
read -r s0 c0 k0 <"$work/family-8.time"
printf '\n%-10s %10s %7s %7s %8s | %-24s\n' grid triangles wall_s cpu_s peak_MB "beyond start-up, per tri"
printf '%-10s %10s %7.2f %7.2f %8d | %-24s\n' start-up 128 "$s0" "$c0" $((k0 / 1024)) "(subtracted)"
: >"$work/family.txt"
for quads in $sizes; do
  input=$(input_for grid "$quads")
  measure "$work/family-$quads" "$convert" -q --support-dir "$work/support" -o "$work/family-$quads.glb" "$input"
  read -r s c k <"$work/family-$quads.time"
  awk -v q="$quads" -v n=$((2 * quads * quads)) -v s="$s" -v c="$c" -v k="$k" -v s0="$s0" -v c0="$c0" -v k0="$k0" 'BEGIN {
    printf "%4dx%-5d %10d %7.2f %7.2f %8d | %5.3f us cpu %5.3f us wall %4.0f B\n", q, q, n, s, c, k / 1024,
      1e6 * (c - c0) / n, 1e6 * (s - s0) / n, 1024 * (k - k0) / n }' | tee -a "$work/family.txt"
done
awk '{ t = $7; m = $13; if (NR == 1 || t < tmin) tmin = t; if (t > tmax) tmax = t;
       if (NR == 1 || m < mmin) mmin = m; if (m > mmax) mmax = m }
     END { tv = tmax / tmin - 1; mv = mmax / mmin - 1; ok = tv <= 0.15 && mv <= 0.15;
           printf "per-triangle spread: cpu time %.0f%%, memory %.0f%% (target <= 15%% each): %s\n", 100 * tv, 100 * mv, ok ? "ok" : "MISSED"
           exit !ok }' "$work/family.txt" || status=1
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status

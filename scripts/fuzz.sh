#!/usr/bin/env bash
# fuzz.sh [TARGET SECONDS [libFuzzer options...]]: builds the fuzzers of
# fuzz/ with clang into build-fuzz/ and, given a TARGET (preferences, header
# or conversion), runs it for SECONDS on a fresh copy of its seeds and the
# corpus earlier runs grew. Fails on a crash, a hang, a leak of ours or a
# blow-up; the input that showed it is kept in build-fuzz/findings/TARGET/.
# Options given after SECONDS override the defaults below.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz
export CC=${FUZZ_CC:-clang} CXX=${FUZZ_CXX:-clang++}
# KAVREL_FUZZ_BUILT=1: the fuzzers are built already (runs side by side
# must not build the same tree at once).
if [ -z "${KAVREL_FUZZ_BUILT:-}" ]; then
  log=$(mktemp)
  if ! scripts/build.sh "$dir" -DKAVREL_FUZZ=ON >"$log" 2>&1; then
    cat "$log" >&2; rm -f "$log"
    echo "fuzz.sh: the build failed" >&2
    exit 1
  fi
  rm -f "$log"
fi
[ $# -eq 0 ] && exit 0
[ $# -ge 2 ] || { echo "usage: scripts/fuzz.sh [TARGET SECONDS [libFuzzer options...]]" >&2; exit 2; }
target=$1 seconds=$2
shift 2

models=/usr/share/inventor/data/models
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
seeds=$scratch/seeds
mkdir -p "$seeds" "$scratch/tmp"

# Seeds are copied, so that nothing is ever written beside the originals;
# models above 64 KB would only slow every mutation down. copy_models ascii
# also writes each binary model as ASCII text, so that both encodings of
# its scene are mutated.
copy_models() {
  [ -d "$models" ] || return 0
  find "$models" -type f -name '*.iv' -size -64k | while read -r model; do
    local seed
    seed=$seeds/$(echo "${model#"$models"/}" | tr / _)
    cp "$model" "$seed"
    if [ "${1:-}" = ascii ] && head -n 1 "$model" | grep -q binary; then
      ASAN_OPTIONS=detect_leaks=0 "$dir/fuzz/ascii_inventor" "$model" "$seed.ascii" 2>/dev/null || rm -f "$seed.ascii"
      if [ -f "$seed.ascii" ] && [ "$(stat -c %s "$seed.ascii")" -gt 131072 ]; then rm -f "$seed.ascii"; fi
    fi
  done
}

case $target in
  preferences)
    cp fuzz/seeds/preferences/* "$seeds/"
    defaults=(-dict=fuzz/preferences.dict -max_len=4096 -timeout=10) ;;
  header)
    cp examples/* "$seeds/"; copy_models
    defaults=(-dict=fuzz/inventor.dict -max_len=256 -timeout=10) ;;
  conversion)
    # fuzz/known/: reduced crashes of classes fixed since, replayed first.
    cp examples/* fuzz/known/*.iv "$seeds/"; copy_models ascii
    # Blow-ups (a graph whose instances grow exponentially) show as a run
    # over the time or the memory limit.
    defaults=(-dict=fuzz/inventor.dict -max_len=131072 -timeout=60) ;;
  *) echo "fuzz.sh: unknown target '$target' (preferences, header, conversion)" >&2; exit 2 ;;
esac

corpus=$dir/corpus/$target findings=$dir/findings/$target
mkdir -p "$corpus" "$findings"
# With -fork and -ignore_crashes a run goes on past its findings; the
# inputs it kept tell them.
count_findings() { find "$findings" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l; }
found_before=$(count_findings)
source scripts/sanitizer_options.sh
export TMPDIR=$scratch/tmp
status=0
"$dir/fuzz/${target}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2560 \
  -print_final_stats=1 -artifact_prefix="$findings/" "${defaults[@]}" "$@" "$corpus" "$seeds" \
  >"$scratch/output" 2>&1 || status=$?
# Inputs run: the final statistics, or in fork mode the last status line.
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/output" | head -n 1)
[ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9][0-9]*\):\{0,1\}[[:space:]].*/\1/p' "$scratch/output" | tail -n 1)
echo "$(date -u +%FT%TZ) $target ${seconds}s runs=${runs:-?} status=$status" >>"$dir/fuzz-history.txt"
found=$(($(count_findings) - found_before))
if [ "$status" -ne 0 ] || [ "$found" -gt 0 ]; then
  # The whole output is kept: in fork mode a finding's report may lie far
  # above the last lines.
  log=$findings/output-$(date -u +%Y%m%dT%H%M%SZ).txt
  cp "$scratch/output" "$log"
  tail -n 60 "$scratch/output" >&2
  echo "fuzz.sh: $target failed (status $status, $found new findings); the inputs are in $findings/, the run's output in $log" >&2
  exit 1
fi
echo "fuzz.sh: $target ran ${runs:-?} inputs in ${seconds}s without a finding"

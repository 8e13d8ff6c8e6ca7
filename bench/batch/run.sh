#!/usr/bin/env bash
# batch/run.sh [BUILD_DIR]: the inventor-data corpus (97 models) converted
# as one batch with -j 2 against one kavrel-convert command per file, one
# after another. Prints both wall times (best of KAVREL_BENCH_RUNS runs,
# default 1) and their ratio; exits 1 when the batch takes 0.6x of the
# single commands or more, or when the two convert a different number of files.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
models=${KAVREL_INVENTOR_MODELS:-/usr/share/inventor/data/models}
work=${KAVREL_BENCH_DIR:-${TMPDIR:-/tmp}/kavrel-bench}/batch
runs=${KAVREL_BENCH_RUNS:-1}
[ -d "$models" ] || { echo "batch: $models not found (scripts/setup.sh installs inventor-data)"; exit 1; }
cmake --build "$build" --target kavrel-convert inventor_import >/dev/null
convert=$build/kavrel/cli/kavrel-convert
mapfile -t files < <(find "$models" -name '*.iv' | sort)

seconds() { date +%s.%N; }

# Each file with a command of its own; a failing file does not stop the loop.
singles() {
  rm -rf "$work/single"; mkdir -p "$work/single"
  local i=0
  for file in "${files[@]}"; do
    "$convert" -q -o "$work/single/$((i++)).glb" "$file" >/dev/null 2>&1 || true
  done
}

batch() {
  rm -rf "$work/batch"
  "$convert" -q -j 2 --output-dir "$work/batch" "$models" >/dev/null 2>&1 || true
}

# best NAME: the fastest of $runs runs of the function NAME.
best() {
  local fastest="" run start end took
  for ((run = 0; run < runs; ++run)); do
    start=$(seconds); "$1"; end=$(seconds)
    took=$(echo "$end - $start" | bc -l)
    if [ -z "$fastest" ] || (( $(echo "$took < $fastest" | bc -l) )); then fastest=$took; fi
  done
  echo "$fastest"
}

mkdir -p "$work"
single_time=$(best singles)
batch_time=$(best batch)
single_count=$(find "$work/single" -name '*.glb' | wc -l)
batch_count=$(find "$work/batch" -name '*.glb' | wc -l)
ratio=$(echo "$batch_time / $single_time" | bc -l)
printf 'batch: %d models; one command per file %.1f s (%d converted), one batch -j 2 %.1f s (%d converted): %.2fx (target < 0.6x)\n' \
  "${#files[@]}" "$single_time" "$single_count" "$batch_time" "$batch_count" "$ratio"
[ "$single_count" -eq "$batch_count" ] || { echo "batch: the two converted a different number of files"; exit 1; }
(( $(echo "$ratio < 0.6" | bc -l) )) || { echo "batch: missed the target"; exit 1; }

#!/usr/bin/env bash
# bench/run.sh [BUILD_DIR] [--large]: runs every benchmark (bench/*/run.sh) in
# turn (--large: convert/run.sh adds the 10-million-triangle grid);
# exits 1 when any of them missed a target or failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
status=0
for runner in "$here"/*/run.sh; do
  echo "== $(basename "$(dirname "$runner")")"
  bash "$runner" "$@" || status=1
done
exit $status

#!/usr/bin/env bash
# run.sh [kavrel-convert arguments]: converts files; with no arguments, a bundled example.
# Paths are taken relative to the directory it is run from.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >&2
log=$(mktemp)
if ! (cd "$root" && scripts/build.sh build) >"$log" 2>&1; then
  cat "$log" >&2; rm -f "$log"
  echo "run.sh: the build failed" >&2
  exit 1
fi
rm -f "$log"
exec "$root/build/kavrel/cli/kavrel-convert" "$@"

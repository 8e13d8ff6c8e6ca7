#!/usr/bin/env bash
# run.sh [kavrel-convert arguments]: converts files; with no arguments, a bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
scripts/build.sh build >&2
exec build/kavrel/cli/kavrel-convert "$@"

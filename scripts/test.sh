#!/usr/bin/env bash
# Builds everything and runs the whole test suite, then again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
(cd build && ctest --output-on-failure -j "$(nproc)")
scripts/build.sh build-asan -DKAVREL_SANITIZE=ON
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j "$(nproc)")

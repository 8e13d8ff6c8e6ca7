#!/usr/bin/env bash
# Builds everything and runs the whole test suite, then again under
# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer (Coin3D's
# own leaks suppressed by tests/lsan.supp), then each fuzzer for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
(cd build && ctest --output-on-failure -j "$(nproc)")
scripts/build.sh build-asan -DKAVREL_SANITIZE=ON
(source scripts/sanitizer_options.sh && cd build-asan && ctest --output-on-failure -j "$(nproc)")
# Each fuzzer runs on one core: the conversion fuzzer beside the other two.
scripts/fuzz.sh
export KAVREL_FUZZ_BUILT=1
scripts/fuzz.sh conversion 30 &
conversion=$!
status=0
scripts/fuzz.sh preferences 15 || status=1
scripts/fuzz.sh header 15 || status=1
wait "$conversion" || status=1
exit "$status"

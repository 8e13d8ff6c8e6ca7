#!/usr/bin/env bash
# nurbs/run.sh [BUILD_DIR]: the NURBS tessellator alone (bench_nurbs): time
# against triangle count for a 64 x 64 control-point surface, the same
# surface at complexity 1.0 through TessellateNurbsSurface, and the teapot.
# Exits 1 when the cost per triangle over the three densest runs spreads by
# more than 2x (the tessellator must stay linear) or the run fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

cmake --build "$build" --target bench_nurbs >/dev/null
out=${TMPDIR:-/tmp}/bench_nurbs.out
"$build/bench/nurbs/bench_nurbs" /usr/share/inventor/data/models/household/teapot.iv | tee "$out"
spread=$(awk -F': ' '/spread/ { print $2 }' "$out")
verdict=$(awk -v s="$spread" 'BEGIN { print (s <= 2) ? "ok" : "MISSED" }')
echo "linear time: $verdict (target: spread <= 2)"
[ "$verdict" = ok ]

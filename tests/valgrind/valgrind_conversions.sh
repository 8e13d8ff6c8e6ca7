#!/usr/bin/env bash
# valgrind_conversions.sh VALGRIND KAVREL_CONVERT REFUSE_NOTHROW_NEW SOURCE_DIR
# Three conversions under valgrind's leak check: a normal one, one that a
# fatal out-of-memory report aborts, one whose file Coin3D cannot read.
# Each must end as it should and lose no block of ours; Coin3D's own known
# leaks are suppressed by tests/valgrind.supp.
set -uo pipefail
valgrind=$1 convert=$2 refuse=$3 source=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every block from the heap that valgrind watches (none from the
# large-block pool); options from a fresh directory.
export KAVREL_PLAIN_HEAP=1 XDG_CONFIG_HOME=$work/config HOME=$work
failures=0

# check NAME STATUS TEXT [VAR=VALUE...] -- ARGS: kavrel-convert ARGS must
# exit with STATUS and print TEXT.
check() {
  local name=$1 expected=$2 text=$3 status
  shift 3
  local environment=()
  while [ "$1" != -- ]; do environment+=("$1"); shift; done
  shift
  # nouserintercepts: the preloaded operator new stays in place of valgrind's.
  env "${environment[@]}" "$valgrind" -q --soname-synonyms=somalloc=nouserintercepts \
    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite --error-exitcode=99 --suppressions="$source/tests/valgrind.supp" \
    --log-file="$work/$name.valgrind" "$convert" "$@" >"$work/$name.out" 2>&1
  status=$?
  if [ "$status" -ne "$expected" ] || ! grep -q "$text" "$work/$name.out"; then
    echo "FAILED: $name conversion exited with $status (expected $expected, printing '$text')"
    cat "$work/$name.out" "$work/$name.valgrind"
    failures=$((failures + 1))
  fi
}

cp "$source/examples/showcase.iv" "$work/"
# The 42nd nothrow allocation (assimp, loaded with the host, makes two
# before the run) is a record of the plug-in's, after seven of its shapes.
printf '#Inventor V2.0 ascii\nSeparator { Cube { width 2 } Sphere { radius } \n' >"$work/broken.iv"
check normal 0 "showcase.glb" -- -o "$work/showcase.glb" "$work/showcase.iv"
check aborted 1 "Out of memory" LD_PRELOAD="$refuse" KAVREL_REFUSE_NOTHROW_NEW=42 -- \
  -o "$work/aborted.glb" "$work/showcase.iv"
check failed 1 "nothing written" -- -o "$work/broken.glb" "$work/broken.iv"
exit $((failures > 0))

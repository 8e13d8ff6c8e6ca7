# Sourced by test.sh and fuzz.sh: the sanitizer settings of every run under
# AddressSanitizer. Leaks are checked, with the Coin3D leaks that
# tests/lsan.supp names suppressed. Coin3D is built without frame pointers,
# so allocation stacks are unwound from its unwind tables (a few frames
# deep, which keeps it affordable); otherwise a stack would end at the first
# Coin3D frame and no suppression could tell its leaks from ours.
root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:malloc_context_size=6
export LSAN_OPTIONS=suppressions=$root_dir/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

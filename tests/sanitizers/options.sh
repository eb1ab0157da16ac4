# Sanitizer options for the test runs under VERBARIUM_SANITIZE=ON (sourced by
# scripts/test). Every report stops the suite that has it; only reports inside
# libraries that are not ours are suppressed, each in its file with its reason.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# detect_leaks: on, at every suite's exit. The widget suites get these options with
# one check less from tests/CMakeLists.txt (see README here).
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1:suppressions=$here/asan.supp"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$here/ubsan.supp"

#!/usr/bin/env bash
# Builds the whole project, every program and every test, with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitized/ and runs every test there, end-to-end
# ones included. Any sanitizer report fails the run, also one from a program that an
# end-to-end test ends itself: every report is written to a file and the files are counted.
# Leaks inside system libraries are suppressed in scripts/lsan.supp, each with its reason.
# Needs the packages `scripts/setup.sh test` installs; arguments go to ctest (-R NAME).
# SANITIZED_STAGE=build only builds; SANITIZED_STAGE=test only runs the tests of a tree
# built before (CI keeps its timing-sensitive tests away from any compiler).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-sanitized
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
stage=${SANITIZED_STAGE:-all}
if [ "$stage" != test ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" >/dev/null
    cmake --build "$build" -j "$(nproc)"
fi
[ "$stage" != build ] || exit 0

reports=$build/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
cd "$build"
status=0
ctest --output-on-failure --timeout 300 -j "$(nproc)" "$@" || status=$?
if [ -n "$(ls -A "$reports")" ]; then
    for report in "$reports"/*; do
        echo "=== $report"
        cat "$report"
    done
    echo "sanitizer reports: $(ls "$reports" | wc -l) (above)"
    exit 1
fi
exit $status

#!/usr/bin/env bash
# Builds the tests of the shell, tiler and paver with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitized/ and runs those that read picture files
# and draw them, where a forged file could otherwise read or write out of bounds unnoticed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" >/dev/null
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$root/build-sanitized" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$root/build-sanitized" -j "$(nproc)" --target shell_tests tiler_tests paver_tests
cd "$root/build-sanitized"
# Qt's own allocations are not instrumented; leaks in them are not ours to report.
ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure --timeout 300 -R "^(BitmapFiles|Canvas|Pictures|Tiler|Paver)\."

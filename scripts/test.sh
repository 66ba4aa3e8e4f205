#!/usr/bin/env bash
# Installs what building and testing need, builds, then runs every test: behaviour tests on Qt's offscreen platform and
# end-to-end tests of the real programs under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" test
cd "$root/build"
ctest --output-on-failure --timeout 300 -j "$(nproc)"

#!/usr/bin/env bash
# Sets everything up, then runs every test: behaviour tests on Qt's offscreen platform and
# end-to-end tests of the real programs under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
cd "$root/build"
ctest --output-on-failure --timeout 300 -j "$(nproc)"

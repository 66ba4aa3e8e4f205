#!/usr/bin/env bash
# Sets everything up, then builds the Debian package of the eight programs into build/ and
# prints its path.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
cd "$root/build"
rm -f ./*.deb
cpack -G DEB >/dev/null
ls "$root"/build/*.deb

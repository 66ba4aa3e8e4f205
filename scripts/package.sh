#!/usr/bin/env bash
# Installs what building and packaging need, then builds the Debian package of the programs into build/ and
# prints its path, the one line it writes to standard output.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" package >&2
cd "$root/build"
rm -f ./*.deb
cpack -G DEB >&2
ls "$root"/build/*.deb

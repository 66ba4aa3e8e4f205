#!/usr/bin/env bash
# Installs what building and running need, builds, then starts one program (bouncer unless named) in assets/, the
# folder that holds the sample files the programs read.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=${1:-bouncer}
"$root/scripts/setup.sh"
[ -x "$root/build/$program/$program" ] || { echo "No program called $program"; exit 1; }
cd "$root/assets"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display here: running $program on a virtual X display (Ctrl+C ends it)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/$program/$program"
fi
exec "$root/build/$program/$program"

#!/usr/bin/env bash
# Starts or stops the one virtual desktop (Xvfb and openbox) that a test run's end-to-end
# tests share: `desktop.sh start FILE` leaves it running and writes where it is to FILE;
# `desktop.sh stop FILE` ends it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"
action=$1
file=$2
case $action in
start)
    unset E2E_DESKTOP
    start_desktop
    printf 'SHARED_DISPLAY=%s\nSHARED_XVFB_PID=%s\nSHARED_WM_PID=%s\n' "$DISPLAY" "$XVFB_PID" "$WM_PID" >"$file"
    echo "shared desktop on $DISPLAY"
    ;;
stop)
    if [ -s "$file" ]; then
        source "$file"
        kill "$SHARED_WM_PID" "$SHARED_XVFB_PID" 2>/dev/null || true
        rm -f "$file"
    fi
    ;;
esac

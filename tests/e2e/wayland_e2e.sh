#!/usr/bin/env bash
# Starts each program given as a native Wayland window under a private headless weston (no
# X server anywhere), in the samples folder, and reads weston's own screenshots until the
# window shows with its controls drawn. Then the first program once more with a DISPLAY
# that names no X server, as a Wayland session may leave behind: it must come up on Wayland.
#   wayland_e2e.sh SAMPLES_FOLDER PROGRAM...
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/x11.sh"
samples=$1
shift
work=$(mktemp -d)
shots=${E2E_SHOTS:-$work}
trap 'kill "${pid:-}" "${weston:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    [ -f "$work/shot.png" ] && cp "$work/shot.png" "${TMPDIR:-/tmp}/wayland_e2e-failure.png" &&
        echo "the last screenshot: ${TMPDIR:-/tmp}/wayland_e2e-failure.png"
    exit 1
}

# weston on a black desktop without a panel, drawing with pixman so that it can be read back.
export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=wayland-e2e
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[shell]\nbackground-color=0xff000000\npanel-position=none\n' >"$work/weston.ini"
weston --backend=headless-backend.so --use-pixman --debug --idle-time=0 --width=1280 --height=1024 \
    --socket="$WAYLAND_DISPLAY" --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
weston=$!
wait_until 10 "weston did not start: $(tail -n 3 "$work/weston.log")" test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"

# Takes weston's screenshot (shot.png) and prints the geometry of its part that is not black;
# fails when all of it is.
shown_part() {
    rm -f "$work"/wayland-screenshot-*.png
    (cd "$work" && weston-screenshooter >/dev/null 2>&1) || return 1
    mv "$work"/wayland-screenshot-*.png "$work/shot.png" || return 1
    convert "$work/shot.png" -fuzz 1% -trim -format "%wx%h%X%Y" info: 2>/dev/null | grep -v '^1x1'
}

# Tells whether weston's screenshot shows a window whose inside is drawn: the part of the
# screen that is not black, less the title bar Qt draws on Wayland, must hold at least 300
# pixels that differ from its most common colour (the window's); an empty window has none.
controls_drawn() {
    local window inside dominant
    running || fail "$name ended before its window showed; it said: $(tail -n 3 "$work/$name.log")"
    window=$(shown_part) && [ "${window%%x*}" -gt 50 ] || return 1
    convert "$work/shot.png" -crop "$window" +repage -gravity south -chop 0x0 -gravity north -chop 0x40 \
        "$work/inside.png"
    inside=$(identify -format "%[fx:w*h]" "$work/inside.png")
    dominant=$(convert "$work/inside.png" -format %c histogram:info:- | sort -rn | head -n 1 | cut -d: -f1)
    [ $((inside - dominant)) -ge 300 ]
}

# Starts a program in the samples folder and waits for its drawn window; then ends it.
#   shows_window WHAT PROGRAM
shows_window() {
    local name
    name=$(basename "$2")
    (cd "$samples" && exec "$2") >"$work/$name.log" 2>&1 &
    pid=$!
    poll_until 30 controls_drawn ||
        fail "$name $1: no window with its controls on weston; it said: $(tail -n 3 "$work/$name.log")"
    cp "$work/shot.png" "$shots/$name-wayland.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    # weston fades a closed window out: the next program must not be seen in its place.
    wait_until 10 "$name's window stays on weston after it ended" eval '! shown_part >/dev/null'
    echo "$name $1: its window and controls are on weston"
}

unset DISPLAY
for program in "$@"; do
    QT_QPA_PLATFORM=wayland shows_window "natively" "$program"
done

# A display number no X server answers on.
stale=77
while xdpyinfo -display ":$stale" >/dev/null 2>&1; do stale=$((stale + 1)); done
unset QT_QPA_PLATFORM
DISPLAY=:$stale shows_window "with the stale DISPLAY :$stale" "$1"

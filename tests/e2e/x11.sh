# Helpers for end-to-end tests: a private X server with a window manager, and screenshots
# measured with ImageMagick. Sourced by the test scripts.

# Starts Xvfb on a free display and openbox on it; exports DISPLAY. Both end with the test.
# A desktop whose window manager does not come up in time is replaced by a new one.
start_desktop() {
    local attempt
    for attempt in 1 2 3; do
        start_desktop_once && return 0
        stop_desktop
    done
    return 1
}

start_desktop_once() {
    local fifo_dir
    fifo_dir=$(mktemp -d)
    mkfifo "$fifo_dir/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo_dir/display" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 10 number <"$fifo_dir/display" || { echo "Xvfb did not start"; return 1; }
    rm -rf "$fifo_dir"
    export DISPLAY=":$number"
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    # openbox takes a moment, sometimes seconds, before it manages new windows: wait until
    # it has framed a probe window, so the program under test shows at once.
    xmessage -name desktop-probe "probe" >/dev/null 2>&1 &
    local probe=$! waited
    for waited in $(seq 200); do
        xprop -name desktop-probe _NET_FRAME_EXTENTS 2>/dev/null | grep -q "=" && break
        sleep 0.05
    done
    kill "$probe" 2>/dev/null
    wait "$probe" 2>/dev/null || true
    [ "$waited" -lt 200 ] || { echo "openbox did not manage a window within 10 s"; return 1; }
}

stop_desktop() {
    kill "${WM_PID:-}" "${XVFB_PID:-}" 2>/dev/null || true
}

# Prints "X Y W H" of a window's client area on the screen.
client_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                             /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# Saves the screen to a PNG file.
screenshot() {
    import -window root "$1"
}

# Prints "X Y" (client coordinates) of the top-left of the pixels of one colour inside the
# client area of a screenshot, or nothing when there are none.
find_colour() {
    local shot=$1 colour=$2 x y w h box
    read -r x y w h <<<"$GEOMETRY"
    box=$(convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage -fill black +opaque "$colour" \
          -fill white -opaque "$colour" -format "%@" info: 2>/dev/null)
    # %@ is the bounding box of what differs from the border: WxH+X+Y.
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 0
    [ "${BASH_REMATCH[1]}" -lt "$w" ] || return 0
    echo "${BASH_REMATCH[3]} ${BASH_REMATCH[4]}"
}

# Saves the part X Y W H (client coordinates) of a screenshot's client area to a file.
crop_client() {
    local shot=$1 x=$2 y=$3 w=$4 h=$5 out=$6 cx cy cw ch
    read -r cx cy cw ch <<<"$GEOMETRY"
    convert "$shot" -crop "${w}x${h}+$((cx + x))+$((cy + y))" +repage "$out"
}

# Prints how many pixels differ between two pictures of the same size.
differing_pixels() {
    # compare's exit code says whether they differ; the count is what matters here.
    { compare -metric AE "$1" "$2" null: 2>&1 || true; } | cut -d' ' -f1
}

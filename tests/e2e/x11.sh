# Helpers for end-to-end tests: a private X server with a window manager, and screenshots
# measured with ImageMagick. Sourced by the test scripts.

# Starts a private Xvfb on a display number no other server holds (Xvfb picks it and
# reports it through -displayfd) and openbox on it; exports DISPLAY. Both end with the
# test, so tests run side by side never share a pointer, a keyboard focus or a clipboard.
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

# Prints "LEFT TOP WIDTH HEIGHT" of a window's outer bounds, frame included, as the window
# manager reports them (its _NET_FRAME_EXTENTS around the client area).
outer_geometry() {
    local x y w h left right top bottom
    read -r x y w h <<<"$(client_geometry "$1")"
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

# Clicks at a point of a window's client area.
click_at() {
    local x y w h
    read -r x y w h <<<"$(client_geometry "$1")"
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
}

# Prints the ids of the program's visible windows other than its main one (message boxes).
other_windows() {
    xdotool search --onlyvisible --class "$1" 2>/dev/null | grep -vx "$2" || true
}

# Waits until the program shows a window besides its main one; prints its id.
wait_for_box() {
    local box attempt
    for attempt in $(seq 50); do
        box=$(other_windows "$1" "$2" | head -n 1)
        [ -n "$box" ] && { echo "$box"; return 0; }
        sleep 0.1
    done
    return 1
}

# Prints the text of an edit box as a user would take it: click, select all, copy.
copy_text() {
    click_at "$1" "$2" "$3"
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard 2>/dev/null || true
}

# Prints the text of a message box (Qt's boxes copy their text on Ctrl+C).
copy_box_text() {
    xdotool windowactivate --sync "$1" key ctrl+c
    sleep 0.2
    xclip -o -selection clipboard 2>/dev/null || true
}

# Waits up to 10 s for the program's first visible window; prints its id. Windows that Qt
# makes and drops while starting are passed over.
wait_for_window() {
    local window attempt
    for attempt in $(seq 100); do
        window=$(xdotool search --onlyvisible --class "$1" 2>/dev/null | head -n 1)
        if [ -n "$window" ] && xwininfo -id "$window" >/dev/null 2>&1; then
            echo "$window"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Starts the text reference (e2e_text_reference) with the given arguments and waits for its
# window; sets REFERENCE_PID and REFERENCE_GEOMETRY ("X Y W H" of its client area).
start_text_reference() {
    local tool=$1 window
    shift
    "$tool" "$@" >/dev/null 2>&1 &
    REFERENCE_PID=$!
    window=$(timeout 10 xdotool search --sync --onlyvisible --name '^text-reference$' | head -n 1) || return 1
    sleep 0.3
    REFERENCE_GEOMETRY=$(client_geometry "$window")
}

# Tells whether the inside of a one-line edit shows the same text as the i-th edit of the
# text reference: both inner areas are cut from screenshots, reduced to ink and paper, and
# compared pixel by pixel.
#   same_text SHOT "X Y" WIDTHxHEIGHT REFERENCE_SHOT INDEX
same_text() {
    local shot=$1 at=$2 size=$3 reference=$4 index=$5 x y rx ry w h differ dir
    dir=$(mktemp -d)
    read -r x y <<<"$at"
    read -r rx ry _ _ <<<"$REFERENCE_GEOMETRY"
    w=$(( ${size%x*} - 6 )) h=$(( ${size#*x} - 6 ))
    convert "$shot" -crop "${w}x${h}+$((x + 3))+$((y + 3))" +repage -colorspace gray -threshold 85% "$dir/seen.png"
    convert "$reference" -crop "${w}x${h}+$((rx + 13))+$((ry + 13 + 40 * index))" +repage -colorspace gray \
        -threshold 85% "$dir/expected.png"
    differ=$(compare -metric AE "$dir/seen.png" "$dir/expected.png" null: 2>&1) || true
    rm -rf "$dir"
    [ "$differ" = 0 ]
}

# Sets a test up: a scratch folder `work` (removed at exit unless the test failed), `shots`
# for screenshots, a private runtime folder, and the cleanup at exit, which ends the
# program under test (`pid`) and any text reference (REFERENCE_PID).
e2e_setup() {
    E2E_NAME=$1
    work=$(mktemp -d)
    shots=${E2E_SHOTS:-$work}
    mkdir -p "$shots"
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    trap 'e2e_cleanup; rm -rf "$work"' EXIT
}

e2e_cleanup() {
    kill "${pid:-}" "${REFERENCE_PID:-}" 2>/dev/null || true
    stop_desktop
}

# Ends the test as failed, keeping a screenshot of the screen as it was.
fail() {
    echo "FAIL: $*"
    screenshot "$shots/$E2E_NAME-failure.png" || true
    echo "screenshots kept in $shots"
    trap e2e_cleanup EXIT
    exit 1
}

# Leaves a program through the first entry of its popup menu, opened with a right click at
# screen point X Y, answering any message box in the way first (a game lost meanwhile);
# fails when the program (`pid`) is still running after three tries.
#   leave_through_menu CLASS WINDOW X Y
leave_through_menu() {
    local attempt box
    for attempt in 1 2 3; do
        for box in $(other_windows "$1" "$2"); do
            xdotool windowactivate --sync "$box" key Return 2>/dev/null || true
            sleep 0.2
        done
        xdotool mousemove "$3" "$4" click 3
        sleep 0.4
        xdotool mousemove $(($3 + 40)) $(($4 + 10)) click 1
        for _ in $(seq 20); do
            kill -0 "$pid" 2>/dev/null || return 0
            sleep 0.1
        done
    done
    return 1
}

# Waits up to 5 s for the program (`pid`) to end; fails unless it ended with exit code 0.
#   expect_exit_0 WHAT   (what made it end, for the message)
expect_exit_0() {
    local status=0
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "the program is still running after $1"
    wait "$pid" || status=$?
    [ "$status" = 0 ] || fail "exit code $status after $1"
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

# Types a text into the edit at client point X Y of a window, as a user would, and reads it
# back. xdotool types a letter missing from the keyboard map by remapping a spare key for
# it; a busy program (a sanitizer build, a loaded machine) may read a key after the map
# changed again and miss the letter, so the text is typed again until it is whole.
#   type_text WINDOW X Y TEXT
type_text() {
    local attempt
    for attempt in 1 2 3; do
        click_at "$1" "$2" "$3"
        xdotool key ctrl+a type --delay 60 "$4"
        [ "$(copy_text "$1" "$2" "$3")" = "$4" ] && return 0
    done
    fail "the edit does not take «$4»"
}

# Helpers for end-to-end tests: a private X server with a window manager, input sent with
# xdotool, and screenshots measured with ImageMagick. Sourced by the test scripts.
#
# Nothing here sleeps for a fixed time: every step waits for a condition (a window shown
# or gone, the keyboard focus, a text or a file read back) or makes a round trip through
# the program's event loop (settle), and a condition that does not come fails the test
# with a message. An action is never repeated: one that is lost is a fault to find. The
# time limits are generous (a loaded machine may take seconds to open a file dialog):
# they cost nothing while things go well.

# The helper (tests/e2e/X11Input.cpp) that waits on grabs and event loops and binds keys;
# ctest passes its path, other scripts find it in build/.
X11_INPUT=${X11_INPUT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/tests/x11_input}

# Polls a check every 20 ms until it holds; returns 1 when it has not held after SECONDS.
#   poll_until SECONDS COMMAND [ARGS...]
poll_until() {
    local end=$(( $(date +%s%N) + $1 * 1000000000 ))
    shift
    until "$@"; do
        [ "$(date +%s%N)" -lt "$end" ] || return 1
        sleep 0.02
    done
}

# The same, but after SECONDS the test fails with MESSAGE.
#   wait_until SECONDS MESSAGE COMMAND [ARGS...]
wait_until() {
    local seconds=$1 message=$2
    shift 2
    poll_until "$seconds" "$@" || fail "$message (waited $seconds s)"
}

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
    # openbox takes a moment before it manages new windows: wait until it has framed a
    # probe window, so the program under test shows at once.
    PROBE="" LOOKS=0
    poll_until 10 probe_framed || { kill "$PROBE" 2>/dev/null; echo "openbox did not manage a window within 10 s"; return 1; }
    kill "$PROBE" 2>/dev/null
    wait "$PROBE" 2>/dev/null || true
    # The Cyrillic letters the tests type get their keys now, before any program runs: a
    # keyboard map that changed under a running program lost the copy keys pressed right
    # after (Ctrl+A, Ctrl+C), now and then. (The map has too few spare keys for the whole
    # alphabet.)
    "$X11_INPUT" bind "двенадцать Привет, мир" >/dev/null
    # A key whose release comes late on a busy machine must not type its letter twice.
    "$X11_INPUT" no-repeat
}

# Tells whether openbox has framed the probe window, started anew when it ended unframed. Now
# and then openbox, just started, leaves the probe's map request unhandled until another event
# reaches it: a property changed on the root window every 25 looks (half a second) is that event.
probe_framed() {
    [ -n "$PROBE" ] && kill -0 "$PROBE" 2>/dev/null || { xmessage -name desktop-probe probe >/dev/null 2>&1 & PROBE=$!; }
    LOOKS=$((LOOKS + 1))
    [ $((LOOKS % 25)) != 0 ] || xprop -root -f _E2E_WAKE 32c -set _E2E_WAKE "$LOOKS" 2>/dev/null || true
    xprop -name desktop-probe _NET_FRAME_EXTENTS 2>/dev/null | grep -q "="
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
    # %@ is the bounding box of what differs from the border: WxH+X+Y (0x0 when nothing does).
    [[ $box =~ ^([1-9][0-9]*)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 0
    [ "${BASH_REMATCH[1]}" -lt "$w" ] || return 0
    echo "${BASH_REMATCH[3]} ${BASH_REMATCH[4]}"
}

# Takes a screenshot into SHOT and tells whether the pixels of a colour now stand somewhere
# other than at "X Y"; MOVED_TO is where they stand (empty when there are none).
#   colour_moved SHOT COLOUR "X Y"
colour_moved() {
    screenshot "$1"
    MOVED_TO=$(find_colour "$1" "$2")
    [ -n "$MOVED_TO" ] && [ "$MOVED_TO" != "$3" ]
}

# Prints "LEFT TOP WIDTH HEIGHT" of a window's outer bounds, frame included, as the window
# manager reports them (its _NET_FRAME_EXTENTS around the client area).
outer_geometry() {
    local x y w h left right top bottom
    read -r x y w h <<<"$(client_geometry "$1")"
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

# Waits until the program owning a window has handled every event sent so far and drawn
# what they changed: a round trip through its event loop.
settle() {
    "$X11_INPUT" sync "$1" 30 || fail "window $1 does not answer within 30 s"
}

# Waits until no other client holds the pointer: the window manager keeps the button of a
# click that focuses a window for a moment, and a click sent meanwhile would go to it.
pointer_free() {
    "$X11_INPUT" pointer-free 10 || fail "the pointer stays held by another client"
}

# Clicks (button 1 unless given) at a point of a window's client area, once the pointer is
# free, and waits until the program has handled the click.
#   click_at WINDOW X Y [BUTTON]
click_at() {
    local x y w h
    read -r x y w h <<<"$(client_geometry "$1")"
    pointer_free
    xdotool mousemove $((x + $2)) $((y + $3)) click "${4:-1}"
    settle "$1"
}

# Clicks at a point of a window's client area into a popup menu the program opened there:
# the menu holds the pointer itself, so the pointer is not waited for.
#   click_menu WINDOW X Y
click_menu() {
    local x y w h
    read -r x y w h <<<"$(client_geometry "$1")"
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
    settle "$1"
}

has_focus() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# Gives a window the keyboard focus through the window manager and waits until it has it.
focus() {
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    wait_until 30 "window $1 does not get the keyboard focus" has_focus "$1"
    settle "$1"
}

# Presses keys in a window once it has the focus; waits until the program has handled them.
#   press WINDOW KEY...
press() {
    local window=$1
    shift
    focus "$window"
    xdotool key "$@"
    settle "$window"
}

# Prints the ids of the program's visible windows other than its main one (message boxes).
other_windows() {
    xdotool search --onlyvisible --class "$1" 2>/dev/null | grep -vx "$2" || true
}

# Waits up to 30 s (or SECONDS) until the program shows a window besides its main one;
# prints its id once the program has drawn it.
#   wait_for_box CLASS WINDOW [SECONDS]
wait_for_box() {
    poll_until "${3:-30}" box_shown "$1" "$2" || return 1
    "$X11_INPUT" sync "$FOUND" 30 >&2 || return 1
    echo "$FOUND"
}

# Tells whether the program shows a window besides its main one; FOUND is its id.
box_shown() {
    FOUND=$(other_windows "$1" "$2" | head -n 1)
    [ -n "$FOUND" ]
}

shown() {
    xdotool search --onlyvisible --class "$1" 2>/dev/null | grep -qx "$2"
}

not_shown() {
    ! shown "$@"
}

# Presses keys that close a window, once it has the focus and no other client holds the
# pointer or the keyboard (the window is not asked afterwards whether it handled them: it
# is gone).
#   press_closing WINDOW KEY...
press_closing() {
    local window=$1
    shift
    focus "$window"
    pointer_free
    "$X11_INPUT" keyboard-free 10 || fail "the keyboard stays held by another client"
    xdotool key "$@"
}

# Closes a window as its close button or Alt+F4 do: the window manager is asked to close it
# and sends it WM_DELETE_WINDOW. (openbox let a pressed Alt+F4 go by now and then on a busy
# machine, with the window focused and nothing grabbed; the program never sees those keys.)
close_window() {
    "$X11_INPUT" close "$1" || fail "could not ask the window manager to close window $1"
}

# Answers a message box with Return and waits until it is gone.
#   answer_box CLASS BOX
answer_box() {
    press_closing "$2" Return
    wait_until 10 "the box $2 did not close on Return" not_shown "$1" "$2"
}

# Prints what the clipboard holds after a copy in a window: emptied first, so a copy that
# did not happen reads back empty.
#   copy_in WINDOW KEY...
copy_in() {
    "$X11_INPUT" clear-clipboard
    press "$@"
    xclip -o -selection clipboard 2>/dev/null || true
}

# Prints the text of an edit box as a user would take it: click, select all, copy.
copy_text() {
    click_at "$1" "$2" "$3"
    copy_in "$1" ctrl+a ctrl+c
}

# Prints the text of a message box (Qt's boxes copy their text on Ctrl+C).
copy_box_text() {
    copy_in "$1" ctrl+c
}

# Waits up to 30 s for the program's first visible window; prints its id once the program
# has drawn it. Windows that Qt makes and drops while starting are passed over.
wait_for_window() {
    poll_until 30 window_shown "$1" || return 1
    "$X11_INPUT" sync "$FOUND" 30 >&2 || return 1
    echo "$FOUND"
}

# Tells whether the program shows a window that still exists; FOUND is its id.
window_shown() {
    FOUND=$(xdotool search --onlyvisible --class "$1" 2>/dev/null | head -n 1)
    [ -n "$FOUND" ] && xwininfo -id "$FOUND" >/dev/null 2>&1
}

# Starts the text reference (e2e_text_reference) with the given arguments and waits for its
# window; sets REFERENCE_PID and REFERENCE_GEOMETRY ("X Y W H" of its client area).
start_text_reference() {
    local tool=$1 window
    shift
    "$tool" "$@" >/dev/null 2>&1 &
    REFERENCE_PID=$!
    window=$(wait_for_window e2e_text_reference) || return 1
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
    local shown
    for shown in $(xdotool search --onlyvisible --class "${E2E_NAME%%-*}" 2>/dev/null); do
        echo "  on screen: window $shown «$(xdotool getwindowname "$shown" 2>/dev/null)»"
    done
    screenshot "$shots/$E2E_NAME-failure.png" || true
    echo "screenshots kept in $shots"
    trap e2e_cleanup EXIT
    exit 1
}

# Leaves a program through the first entry of its popup menu, opened with a right click at
# client point X Y of its window. Any message box is answered first.
#   leave_through_menu CLASS WINDOW X Y
leave_through_menu() {
    local box
    for box in $(other_windows "$1" "$2"); do answer_box "$1" "$box"; done
    click_at "$2" "$3" "$4" 3
    local x y w h
    read -r x y w h <<<"$(client_geometry "$2")"
    xdotool mousemove $((x + $3 + 40)) $((y + $4 + 10)) click 1
}

running() {
    kill -0 "$pid" 2>/dev/null
}

# Waits up to 10 s for the program (`pid`) to end; fails unless it ended with exit code 0.
#   expect_exit_0 WHAT   (what made it end, for the message)
expect_exit_0() {
    local status=0
    wait_until 10 "the program is still running after $1" eval '! running'
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

# Presses the keys that type a text, by their key codes, in the focused window: every
# character gets a key of its own first, so the keyboard map stays the same meanwhile.
#   type_keys WINDOW TEXT
type_keys() {
    local codes
    codes=$("$X11_INPUT" bind "$2") || fail "no keys for «$2»"
    focus "$1"
    # shellcheck disable=SC2086
    xdotool key --delay 20 $codes
    settle "$1"
}

# Types a text into the edit at client point X Y of a window, as a user would, and reads it
# back.
#   type_text WINDOW X Y TEXT
type_text() {
    click_at "$1" "$2" "$3"
    press "$1" ctrl+a
    type_keys "$1" "$4"
    local seen
    seen=$(copy_text "$1" "$2" "$3")
    [ "$seen" = "$4" ] || fail "the edit took «$seen» for «$4»"
}

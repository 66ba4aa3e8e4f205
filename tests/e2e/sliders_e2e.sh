#!/usr/bin/env bash
# Uses sliders as a user would: the real program under Xvfb and openbox, a slider dragged
# and others moved with the arrow keys through xdotool, the button clicked, and the edit
# boxes read off the screen against the same texts drawn by the text reference.
set -euo pipefail
program=$1
reference_tool=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup sliders

start_desktop
start_text_reference "$reference_tool" 121x21:10 121x21:6 257x21:0 257x21:1920 \
    || fail "the text reference did not start"
screenshot "$work/reference.png"
kill "$REFERENCE_PID"

cd "$work"
"$program" &
pid=$!
window=$(wait_for_window sliders) || fail "no window appeared"
GEOMETRY=$(client_geometry "$window")
read -r cx cy _ _ <<<"$GEOMETRY"

# Slider N stands at x 40, y 32 + 56 * (N - 1) (TrackBar1 to TrackBar7); its thumb rests at
# the left end while at position 1, and its edit box is at x 224 on the same line.
thumb_x=$((cx + 40 + 8))
thumb_y() { echo $((cy + 32 + 56 * ($1 - 1) + 16)); }
edit_at() { echo "$((cx + 224)) $((cy + 32 + 56 * ($1 - 1)))"; }
edit8_at="$((cx + 424)) $((cy + 208))"

# Drag TrackBar1's thumb to the right end: position 10. Each step of the drag is handled
# before the next.
pointer_free
xdotool mousemove "$thumb_x" "$(thumb_y 1)" mousedown 1
settle "$window"
for x in 60 100 140 180 215; do
    xdotool mousemove $((cx + x)) "$(thumb_y 1)"
    settle "$window"
done
xdotool mouseup 1
settle "$window"
# Focus TrackBar2 with a click on its thumb, then one right arrow: LineSize 5 takes it to 6.
click_at "$window" 48 $((32 + 56 + 16))
press "$window" Right
# The button: not every slider has moved yet.
click_at "$window" 557 172
screenshot "$shots/sliders-1.png"
same_text "$shots/sliders-1.png" "$(edit_at 1)" 121x21 "$work/reference.png" 0 || fail "Edit1 does not show 10 after the drag"
same_text "$shots/sliders-1.png" "$(edit_at 2)" 121x21 "$work/reference.png" 1 || fail "Edit2 does not show 6 after one arrow key"
same_text "$shots/sliders-1.png" "$edit8_at" 257x21 "$work/reference.png" 2 || fail "Edit8 does not show 0 with five sliders unmoved"
echo "drag: Edit1 shows 10; arrow key: Edit2 shows 6; the product reads 0"

# Every other slider one step right (to 2): 10 * 6 * 2^5 = 1920.
for n in 3 4 5 6 7; do
    click_at "$window" 48 $((32 + 56 * (n - 1) + 16))
    press "$window" Right
done
click_at "$window" 557 172
screenshot "$shots/sliders-2.png"
same_text "$shots/sliders-2.png" "$edit8_at" 257x21 "$work/reference.png" 3 || fail "Edit8 does not show 1920"
echo "all seven moved: the product reads 1920"

# Closing the window through the window manager ends the program with code 0.
close_window "$window"
expect_exit_0 "its window closed"
echo "sliders e2e: 1 passed, 0 failed"

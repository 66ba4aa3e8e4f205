#!/usr/bin/env bash
# Plays bouncer as a user would: the real program in a real window under Xvfb and openbox,
# the mouse and the popup menu driven with xdotool, what shows checked on screenshots.
set -euo pipefail
program=$1
assets=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/bouncer_lib.sh"

e2e_setup bouncer
cp "$assets"/*.bmp "$work"/

start_desktop
cd "$work"
started=$(date +%s%N)
"$program" --ignored-argument &
pid=$!
window=$(wait_for_window bouncer) || fail "no window appeared"
GEOMETRY=$(client_geometry "$window")
read -r cx cy cw ch <<<"$GEOMETRY"
echo "window $window, client area ${cw}x${ch} at ($cx, $cy)"
[ "$cw" = 773 ] && [ "$ch" = 451 ] || fail "client area is ${cw}x${ch}, not 773x451"
read -r frame_left frame_right frame_top frame_bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
outer_height=$((ch + frame_top + frame_bottom))

# The paddle follows the pointer: put it where the ball first comes down.
xdotool mousemove $((cx + 340)) $((cy + 200))
settle "$window"

screenshot "$shots/bouncer-1.png"
echo "first screenshot $(( ($(date +%s%N) - started) / 1000000 )) ms after start"
ball1=$(find_colour "$shots/bouncer-1.png" "#00FF00")
[ -n "$ball1" ] || fail "no ball on screen"
wait_until 5 "the ball did not move from ($ball1)" colour_moved "$shots/bouncer-2.png" "#00FF00" "$ball1"
ball2=$MOVED_TO
echo "ball at ($ball1), then at ($ball2)"
# The paddle's ends outline is the only pure blue on screen.
read -r paddle_left _ <<<"$(find_colour "$shots/bouncer-2.png" "#0000FF")"
[ "$paddle_left" = 340 ] || fail "a move to x 340 put the paddle at $paddle_left"

end_bouncer_game "$window"

# A drag that starts on the paddle is the paddle's own: the window's handler sees none of
# its moves, and the paddle stays where it was. The right click at the drag's end (no move
# of its own) opens the menu, which shows once every earlier move has been handled.
pointer_free
xdotool mousemove $((cx + 340)) $((cy + 200))
settle "$window"
screenshot "$shots/bouncer-paddle.png"
read -r paddle_left paddle_top <<<"$(find_colour "$shots/bouncer-paddle.png" "#0000FF")"
[ "$paddle_left" = 340 ] || fail "a move to x 340 put the paddle at $paddle_left"
xdotool mousemove $((cx + 390)) $((cy + paddle_top + 10)) mousedown 1 mousemove $((cx + 100)) $((cy + 300)) \
    mousemove $((cx + 700)) $((cy + 100)) mouseup 1 click 3
settle "$window"
[ -n "$(other_windows bouncer "$window")" ] || fail "the popup menu did not open"
screenshot "$shots/bouncer-menu.png"
read -r paddle_left _ <<<"$(find_colour "$shots/bouncer-menu.png" "#0000FF")"
[ "$paddle_left" = 340 ] || fail "a drag from the paddle moved it to $paddle_left"
echo "a drag from the paddle left it at x 340"

# Then "Новая игра", the third entry (entries are about 21 pixels apart): as the menu goes,
# the paddle comes under the pointer resting there, with no move.
click_menu "$window" 740 $((100 + 10 + 2 * 21))
paddle_under_pointer() { screenshot "$shots/bouncer-3.png"; [[ $(find_colour "$shots/bouncer-3.png" "#0000FF") == "740 "* ]]; }
wait_until 5 "the paddle stays at x 340 after the menu closed over x 740" paddle_under_pointer
ball3=$(find_colour "$shots/bouncer-3.png" "#00FF00")
echo "after a new game the ball is at ($ball3)"
read -r _ ball3_top <<<"$ball3"
# A game is lost with the ball 50 pixels above the bottom; from the top the ball takes
# more than a second to come 200 pixels down.
[ -n "$ball3" ] && [ "$ball3_top" -lt 200 ] || fail "the new game did not bring the ball back to the top"
# The paddle stands 75 pixels above the window's outer bottom, frame included. The climb
# timer runs on through a new game, so it may have risen once (10 pixels) before the shot.
read -r _ paddle_top <<<"$(find_colour "$shots/bouncer-3.png" "#0000FF")"
echo "after a new game the paddle's top is at $paddle_top, outer height $outer_height"
[ "$paddle_top" = $((outer_height - 75)) ] || [ "$paddle_top" = $((outer_height - 85)) ] \
    || fail "the paddle is not at the outer height - 75 (or one climb above it)"
end_bouncer_game "$window"

# "Сложность → Сумашедш" with the keyboard: Down twice to «Сложность», Right opens its
# submenu on «Легк», Down twice to «Сумашедш», Return. The window's outer width, frame
# included, becomes 450.
menu_open() { [ -n "$(other_windows bouncer "$window")" ]; }
click_at "$window" 340 200 3
menu_open || fail "the popup menu did not open"
xdotool key --delay 0 Down Down Right Down Down Return
settle "$window"
! menu_open || fail "the popup menu stayed open after Return"
# A right click at once after, at the same spot, opens the menu again: Qt takes its press
# for the second of a double click, which must not close the menu it opened.
xdotool click 3
settle "$window"
menu_open || fail "a right click after a choice made with the keyboard opened no menu"
outer_width() { read -r _ _ cw _ <<<"$(client_geometry "$window")"; echo $((cw + frame_left + frame_right)); }
outer_width_450() { [ "$(outer_width)" = 450 ]; }
wait_until 5 "outer width is $(outer_width), not 450" outer_width_450
echo "after Сумашедш: outer width 450, frame $frame_left + $frame_right"

# Then "Выход", the first entry of the menu now open: the program ends with code 0.
read -r cx cy _ _ <<<"$(client_geometry "$window")"
xdotool mousemove $((cx + 380)) $((cy + 210)) click 1
expect_exit_0 Выход
echo "bouncer e2e: 1 passed, 0 failed"

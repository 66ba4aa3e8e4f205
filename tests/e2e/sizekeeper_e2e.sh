#!/usr/bin/env bash
# Uses sizekeeper as a user would, under Xvfb and openbox: the window is moved and resized
# through the window manager, saved, changed again and loaded back; the window manager's
# own answer on the window's bounds is what is checked, and so are the INI files.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup sizekeeper
export XDG_CONFIG_HOME="$work/config"
ini="$XDG_CONFIG_HOME/sizekeeper/prog.ini"

start_desktop
cd "$work"
"$program" &
pid=$!
window=$(wait_for_window sizekeeper) || fail "no window appeared"
passed=0

load() { click_at "$window" 164 76; }
client_size_is() { read -r _ _ w h <<<"$(client_geometry "$window")"; [ "$w $h" = "$1 $2" ]; }
save() { click_at "$window" 164 148; }

# The window opens at the layout's bounds, frame included.
[ "$(outer_geometry "$window")" = "212 174 696 480" ] || fail "opened at $(outer_geometry "$window")"
passed=$((passed + 1))

# Loading before any save: an error box, the window stays where it is, no file appears.
load
box=$(wait_for_box sizekeeper "$window") || fail "no error box for a load without prog.ini"
answer_box sizekeeper "$box"
[ "$(outer_geometry "$window")" = "212 174 696 480" ] || fail "a failed load moved the window"
[ ! -e "$ini" ] || fail "loading created prog.ini"
passed=$((passed + 1))

# From the edit, Tab three times reaches «Сохранить размер формы» (TabOrder 2, 3, 0, 1);
# Enter presses it, as Space would: prog.ini appears.
click_at "$window" 412 58
press "$window" Tab Tab Tab Return
grep -qx "Left=212" "$ini" 2>/dev/null || fail "Tab and Enter did not save: prog.ini holds $(cat "$ini" 2>&1)"
passed=$((passed + 1))

# Move and resize through the window manager, partly off the left edge; save.
old=$(outer_geometry "$window")
xdotool windowmove --sync "$window" -7 60 windowsize --sync "$window" 500 400
settle "$window"
saved=$(outer_geometry "$window")
[ "$saved" != "$old" ] || fail "the window manager did not move the window"
save
read -r left top width height <<<"$saved"
expected=$(printf '[Size]\nTop=%s\nLeft=%s\nHeight=%s\nWidth=%s' "$top" "$left" "$height" "$width")
[ "$(cat "$ini")" = "$expected" ] || fail "prog.ini holds $(cat "$ini"), not the bounds $saved"
echo "saved $saved"
passed=$((passed + 1))

# Change the window again, then load: it comes back to the saved bounds.
xdotool windowmove --sync "$window" 300 200 windowsize --sync "$window" 600 300
settle "$window"
[ "$(outer_geometry "$window")" != "$saved" ] || fail "the window did not change"
load
[ "$(outer_geometry "$window")" = "$saved" ] || fail "loaded to $(outer_geometry "$window"), not $saved"
passed=$((passed + 1))

# The edit's text, Cyrillic included, goes to prog2.ini unchanged.
type_text "$window" 412 58 "Привет, мир"
click_at "$window" 480 132
grep -qx "edit1=Привет, мир" "$XDG_CONFIG_HOME/sizekeeper/prog2.ini" 2>/dev/null \
    || fail "prog2.ini holds $(cat "$XDG_CONFIG_HOME/sizekeeper/prog2.ini" 2>&1)"
passed=$((passed + 1))
screenshot "$shots/sizekeeper.png"

# A bad Left stops the load there: Top is applied, the rest is not, an error is shown.
read -r left top width height <<<"$(outer_geometry "$window")"
printf '[Size]\nTop=%s\nLeft=abc\nWidth=100\nHeight=100\n' $((top + 40)) >"$ini"
load
box=$(wait_for_box sizekeeper "$window") || fail "no error box for Left=abc"
answer_box sizekeeper "$box"
[ "$(outer_geometry "$window")" = "$left $((top + 40)) $width $height" ] \
    || fail "after a bad Left the window is at $(outer_geometry "$window")"
passed=$((passed + 1))

# Absurd bounds from a hand-edited or damaged prog.ini: whatever Width and Height say, the
# window stays mapped and framed with a client area of at least 1 x 1; the Left and Top a
# row gives (100 else) place it on their side of the screen however far they reach (an
# overflow on the way would put it on the other); once the user brings it back and makes
# it larger, a load of sane bounds takes effect and a save writes them.
read -r frame_left frame_right frame_top frame_bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
frame_width=$((frame_left + frame_right))
frame_height=$((frame_top + frame_bottom))
absurd=(
    "0 0" "1 1" "-1 -1" "2 20" "-5 300" "300 -5"
    "$((frame_width - 1)) $((frame_height - 1))" "$frame_width $frame_height"
    "$((frame_width + 1)) $((frame_height + 1))"
    "2147483647 2147483647" "-2147483648 -2147483648" "-2147483647 2147483647" "2147483647 -2147483648"
    "500 400 1000000 -1000000" "500 400 2147483647 -2147483648" "500 400 -2147483648 2147483647"
)
# Whether a window edge at EDGE, EXTENT long, is where a stored Left or Top put it: there,
# when that is on the screen; else beyond the screen's middle on its side (the window
# manager keeps a corner of the window on the screen).
#   placed STORED EDGE EXTENT SCREEN
placed() {
    if (($1 >= 0 && $1 < $4)); then (($2 == $1)); elif (($1 > 0)); then ((2 * $2 >= $4)); else ((2 * ($2 + $3) <= $4)); fi
}
placed_at() {
    read -r x y w h <<<"$(outer_geometry "$window")"
    placed "$left" "$x" "$w" "$screen_width" && placed "$top" "$y" "$h" "$screen_height"
}
read -r screen_width screen_height <<<"$(xdotool getdisplaygeometry)"
sane_left=120 sane_top=150
for row in "${absurd[@]}"; do
    read -r width height left top <<<"$row"
    printf '[Size]\nTop=%s\nLeft=%s\nHeight=%s\nWidth=%s\n' "${top:-100}" "${left:-100}" "$height" "$width" >"$ini"
    load
    xwininfo -id "$window" | grep -q "Map State: IsViewable" || fail "Width=$width Height=$height unmapped the window"
    [ -z "$left" ] || poll_until 5 placed_at || fail "Left=$left Top=$top placed the window at $(outer_geometry "$window")"
    read -r x y client_width client_height <<<"$(client_geometry "$window")"
    [ "$client_width" -ge 1 ] && [ "$client_height" -ge 1 ] \
        || fail "Width=$width Height=$height left a client area of $client_width x $client_height"
    # An outer size within the frame leaves the least client area, however far below zero
    # (an overflow on the way would make it the largest).
    { [ "$width" -gt "$frame_width" ] || [ "$client_width" -eq 1 ]; } \
        && { [ "$height" -gt "$frame_height" ] || [ "$client_height" -eq 1 ]; } \
        || fail "Width=$width Height=$height gave a client area of $client_width x $client_height"
    xprop -id "$window" _NET_FRAME_EXTENTS | grep -q "=" || fail "Width=$width Height=$height lost the frame"
    xdotool windowmove "$window" 100 100 windowsize "$window" 696 480
    wait_until 5 "the window manager did not resize the window to 696 x 480" client_size_is 696 480
    sane_width=$((500 + sane_left % 7)) sane_height=$((400 + sane_top % 5))
    printf '[Size]\nTop=%s\nLeft=%s\nHeight=%s\nWidth=%s\n' "$sane_top" "$sane_left" "$sane_height" "$sane_width" >"$ini"
    load
    [ "$(outer_geometry "$window")" = "$sane_left $sane_top $sane_width $sane_height" ] \
        || fail "after Width=$width Height=$height sane bounds loaded to $(outer_geometry "$window")"
    sane_left=$((sane_left + 3)) sane_top=$((sane_top + 2))
done
[ -z "$(other_windows sizekeeper "$window")" ] || fail "an absurd size opened a box"
save
grep -qx "Width=$sane_width" "$ini" && grep -qx "Height=$sane_height" "$ini" \
    || fail "the save after the absurd sizes wrote $(cat "$ini")"
passed=$((passed + 1))

# Closing through the window manager ends the program with exit code 0.
close_window "$window"
expect_exit_0 "its window closed"
passed=$((passed + 1))
echo "sizekeeper e2e: $passed passed, 0 failed"

#!/usr/bin/env bash
# Uses tiler as a user would: the real program under Xvfb and openbox, its buttons and
# open dialog driven with xdotool, the stamped pixels compared with pictures built here.
set -euo pipefail
program=$1
ball=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup tiler

start_desktop
cd "$work"
# A 20 x 20 bitmap under a name without ".bmp", to open through the dialog.
convert -size 20x20 xc:"#FF00FF" -fill "#0000FF" -draw "rectangle 0,0 9,9" -type TrueColor BMP3:square.dat

# A fresh home folder: the program must leave nothing in it (Qt's file dialog would keep
# its history there).
mkdir "$work/home"
HOME="$work/home" env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME "$program" &
pid=$!
window=$(wait_for_window tiler) || fail "no window appeared"
GEOMETRY=$(client_geometry "$window")
echo "client area: $GEOMETRY"

# "Замостить" (Left 510, Top 296): the ball over the 500 x 500 square, then background.
click_at "$window" 547 308
screenshot "$shots/tiler-grid.png"
crop_client "$shots/tiler-grid.png" 0 0 510 500 "$work/seen.png"
convert -size 500x500 tile:"$ball" -background "#F0F0F0" -extent 510x500 "$work/meant.png"
differ=$(differing_pixels "$work/seen.png" "$work/meant.png")
echo "grid: $differ pixels differ from 10 x 10 balls"
[ "$differ" = 0 ] || fail "the grid is not 10 x 10 balls at step 50"

# "Произвольно" (Top 264): the first stamp of a run lies where the generator's first two
# values put it, y drawn first (the minimal standard generator from its default seed).
first=48271
second=$(( first * 48271 % 2147483647 ))
y=$(( first % 200 )) x=$(( second % 300 ))
click_at "$window" 547 276
screenshot "$shots/tiler-random.png"
crop_client "$shots/tiler-random.png" 0 0 510 500 "$work/seen.png"
convert "$work/meant.png" "$ball" -geometry "+$x+$y" -composite "$work/meant.png"
differ=$(differing_pixels "$work/seen.png" "$work/meant.png")
echo "random stamp at ($x, $y): $differ pixels differ"
[ "$differ" = 0 ] || fail "the random stamp is not at ($x, $y)"

# "Открыть" (Top 232), then Escape: the dialog closes.
click_at "$window" 547 244
dialog=$(wait_for_box tiler "$window") || fail "no open dialog"
press_closing "$dialog" Escape
wait_until 10 "Escape did not close the open dialog" not_shown tiler "$dialog"
settle "$window"

# "Открыть" again, type the name and accept: the grid is then 20 x 20 squares on
# the earlier balls, 30 pixels of them showing between.
click_at "$window" 547 244
dialog=$(wait_for_box tiler "$window") || fail "no open dialog"
type_keys "$dialog" "$work/square.dat"
typed=$(copy_in "$dialog" ctrl+a ctrl+c)
[ "$typed" = "$work/square.dat" ] || fail "the dialog's name field took «$typed»"
press_closing "$dialog" Return
wait_until 10 "the open dialog did not close" not_shown tiler "$dialog"
settle "$window"
click_at "$window" 547 308
screenshot "$shots/tiler-opened.png"
crop_client "$shots/tiler-opened.png" 0 0 510 500 "$work/seen.png"
draws=()
for column in $(seq 0 9); do
    for row in $(seq 0 9); do
        draws+=(square.dat -geometry "+$((50 * column))+$((50 * row))" -composite)
    done
done
convert "$work/meant.png" "${draws[@]/square.dat/bmp:$work/square.dat}" "$work/meant.png"
differ=$(differing_pixels "$work/seen.png" "$work/meant.png")
echo "grid of the opened picture: $differ pixels differ"
[ "$differ" = 0 ] || fail "the opened picture is not stamped at step 50 over the earlier stamps"

# Closing the window ends the program with code 0.
close_window "$window"
expect_exit_0 "its window closed"
left=$(find "$work/home" -mindepth 1)
[ -z "$left" ] || fail "the run left files in the home folder: $left"
echo "tiler e2e: 1 passed, 0 failed"

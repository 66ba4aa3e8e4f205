#!/usr/bin/env bash
# Uses paver as a user would: the real program under Xvfb and openbox, its button clicked
# with xdotool, the paving compared with the one the generator's first values give, in
# two runs, and a run from a folder without the tiles.
set -euo pipefail
program=$1
assets=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup paver
tiles=(B1.bmp Bitmap2.bmp Bitmap3.bmp Bitmap4.bmp)


# Starts the program in the given folder and finds its window.
start_paver() {
    (cd "$1" && exec "$2") &
    pid=$!
    window=$(wait_for_window paver) || fail "no window appeared"
    GEOMETRY=$(client_geometry "$window")
}

# Clicks "Button1" (Left 64, Top 304).
click_button() {
    click_at "$window" 100 316
}

# Closes the window (answering a message box first) and checks the exit code.
close_paver() {
    local box
    for box in $(other_windows paver "$window"); do answer_box paver "$box"; done
    close_window "$window"
    expect_exit_0 "its window closed"
}

start_desktop
mkdir "$work/run" "$work/empty" "$work/program"
for tile in "${tiles[@]}"; do cp "$assets/$tile" "$work/run/"; done

# The first click of a run: cell k (column k / 10, row k % 10) gets tile value k mod 4 of
# the minimal standard generator from its default seed.
value=1 draws=()
for k in $(seq 0 99); do
    value=$(( value * 48271 % 2147483647 ))
    draws+=("$work/run/${tiles[value % 4]}" -geometry "+$((30 * (k / 10)))+$((30 * (k % 10)))" -composite)
done
convert -size 300x300 xc:"#F0F0F0" "${draws[@]}" "$work/meant.png"

for run in 1 2; do
    start_paver "$work/run" "$program"
    click_button
    screenshot "$shots/paver-$run.png"
    crop_client "$shots/paver-$run.png" 0 0 300 300 "$work/seen.png"
    differ=$(differing_pixels "$work/seen.png" "$work/meant.png")
    echo "run $run, first click: $differ pixels differ from the generator's paving"
    [ "$differ" = 0 ] || fail "run $run paved another pattern"
    close_paver
done

# Tiles beside the program but none in the current folder: nothing is drawn, an error shows.
cp "$program" "$work/program/"
for tile in "${tiles[@]}"; do cp "$assets/$tile" "$work/program/"; done
start_paver "$work/empty" "$work/program/$(basename "$program")"
click_button
screenshot "$shots/paver-no-tiles.png"
box=$(wait_for_box paver "$window") || fail "no error was shown"
echo "without tiles in the current folder: $(other_windows paver "$window" | grep -c .) message box(es)"
# Once the box is answered, the whole grid area shows the background only.
answer_box paver "$box"
settle "$window"
screenshot "$shots/paver-no-tiles-answered.png"
crop_client "$shots/paver-no-tiles-answered.png" 0 0 300 300 "$work/seen.png"
convert -size 300x300 xc:"#F0F0F0" "$work/blank.png"
differ=$(differing_pixels "$work/seen.png" "$work/blank.png")
echo "grid area: $differ pixels off the background"
[ "$differ" = 0 ] || fail "something was drawn without tile files"
close_paver
echo "paver e2e: 1 passed, 0 failed"

#!/usr/bin/env bash
# Uses heropick as a user would: the real program under Xvfb and openbox, keys pressed with
# xdotool (also under a Russian keyboard layout), the field «Уровень» read off the screen
# against the same texts drawn by the text reference, and Escape ending the program.
set -euo pipefail
program=$1
reference_tool=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup heropick

# Each key as xdotool names it, and the text the field must then show.
keys=(a z 0 9 Return shift ctrl F1 space)
texts=(65 90 48 57 13 16 17 112 "Вы нажали пробел!")

start_desktop
references=()
for text in "${texts[@]}"; do references+=("225x25:$text"); done
start_text_reference "$reference_tool" --disabled "${references[@]}" || fail "the text reference did not start"
screenshot "$work/reference.png"
kill "$REFERENCE_PID"

cd "$work"
"$program" &
pid=$!
window=$(wait_for_window heropick) || fail "no window appeared"
GEOMETRY=$(client_geometry "$window")
read -r cx cy _ _ <<<"$GEOMETRY"
# The field: GroupBox1 at (80, 128), LabeledEdit1 at (8, 64) inside it.
field_at="$((cx + 88)) $((cy + 192))"

# The window asks for no title-bar buttons: its Motif hints allow moving and resizing only.
hints=$(xprop -id "$window" _MOTIF_WM_HINTS | sed 's/.*= //')
[ "$hints" = "0x1, 0x6, 0x0, 0x0, 0x0" ] || fail "the window asks for title-bar functions: $hints"

# Only the main window shows: the hero dialog is never on screen.
[ "$(xdotool search --onlyvisible --class heropick | wc -l)" = 1 ] || fail "more than one window shows"

for i in "${!keys[@]}"; do
    press "$window" "${keys[$i]}"
    screenshot "$work/key.png"
    same_text "$work/key.png" "$field_at" 225x25 "$work/reference.png" "$i" \
        || { cp "$work/key.png" "$shots/heropick-key.png"; fail "after ${keys[$i]} the field does not show ${texts[$i]}"; }
done
echo "keys ${keys[*]}: the field showed ${texts[*]}"

# A click anywhere changes nothing.
click_at "$window" 200 220
click_at "$window" 30 30
screenshot "$work/click.png"
same_text "$work/click.png" "$field_at" 225x25 "$work/reference.png" 8 || fail "a click changed the field"

# Under a Russian layout the key of «ф» still gives the code of its place, A: 65.
setxkbmap -layout us,ru -option grp:alt_shift_toggle
press "$window" alt+shift
press "$window" Cyrillic_ef
screenshot "$shots/heropick-ru.png"
same_text "$shots/heropick-ru.png" "$field_at" 225x25 "$work/reference.png" 0 || fail "the key of ф does not give 65"
echo "Russian layout: the key of ф gave 65"
setxkbmap -layout us

# Escape ends the program with code 0.
press_closing "$window" Escape
expect_exit_0 Escape
echo "heropick e2e: 1 passed, 0 failed"

#!/usr/bin/env bash
# bouncer with four unreadable ball frames, as a user meets it (a text, a named pipe, a
# folder, a link to a device; none may freeze the program): one failure box at a time;
# the user ticks «Больше не показывать это сообщение» in each, no box comes back, and the
# game's menu can be reached to leave the program.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup bouncer-frames

start_desktop
cd "$work"
echo "not a bitmap" >Мячик.bmp
mkfifo Мячик2.bmp
mkdir Мячик3.bmp
ln -s /dev/zero Мячик4.bmp
declare -A reason=([Мячик.bmp]="повреждён" [Мячик2.bmp]="это именованный канал" [Мячик3.bmp]="это папка"
                   [Мячик4.bmp]="это ссылка на устройство «/dev/zero»")
"$program" &
pid=$!
window=$(wait_for_window bouncer) || fail "no window appeared"
read -r cx cy _ _ <<<"$(client_geometry "$window")"

# Each box names its frame; Tab reaches the check box, space ticks it, Return closes.
for frame in Мячик.bmp Мячик2.bmp Мячик3.bmp Мячик4.bmp; do
    box=$(wait_for_box bouncer "$window") || fail "no box for $frame"
    [ "$(other_windows bouncer "$window" | wc -l)" = 1 ] || fail "more than one box on screen"
    text=$(copy_box_text "$box")
    [[ $text == *"«$frame»"* && $text == *"${reason[$frame]}"* ]] || fail "the box for $frame says: $text"
    xdotool windowactivate --sync "$box" key Tab space Return
    sleep 0.3
done
sleep 1
[ -z "$(other_windows bouncer "$window")" ] || fail "a failure box came back after it was ticked"

# The menu is reachable: right click, then "Выход". A lost game's box is answered first.
leave_through_menu bouncer "$window" $((cx + 340)) $((cy + 200)) || fail "the program is still running after Выход"
expect_exit_0 Выход
echo "bouncer frames e2e: 3 passed, 0 failed"

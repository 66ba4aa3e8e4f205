#!/usr/bin/env bash
# bouncer with four unreadable ball frames, as a user meets it (a text, a named pipe, a
# folder, a link to a device; none may freeze the program): one failure box at a time;
# the user ticks «Больше не показывать это сообщение» in each, no box comes back, and the
# game's menu can be reached to leave the program.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/bouncer_lib.sh"

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
GEOMETRY=$(client_geometry "$window")

# The game goes on while the boxes are up, and on a slow machine it may end meanwhile: its
# box, on top of the failure box and holding the keys, is answered and set apart. Only the
# box on top is read. BOXES: the boxes on screen, the top one first; TEXT: its text.
game_over=""
look_at_boxes() {
    BOXES=($(other_windows bouncer "$window" | tac))
    [ "${#BOXES[@]}" -gt 0 ] && "$X11_INPUT" sync "${BOXES[0]}" 30 >&2 || return 1
    TEXT=$(copy_box_text "${BOXES[0]}")
    case $TEXT in
    *"Вы Проиграли!"* | *"Вы Выиграли!"*) answer_box bouncer "${BOXES[0]}"; game_over=1; return 1 ;;
    esac
    [ -n "$TEXT" ]
}

# Each box names its frame; Tab reaches the check box, space ticks it, Return closes.
for frame in Мячик.bmp Мячик2.bmp Мячик3.bmp Мячик4.bmp; do
    wait_until 30 "no box for $frame" look_at_boxes
    [ "${#BOXES[@]}" = 1 ] || fail "more than one failure box on screen"
    box=${BOXES[0]} text=$TEXT
    [[ $text == *"«$frame»"* && $text == *"${reason[$frame]}"* ]] || fail "the box for $frame says: $text"
    press_closing "$box" Tab space Return
    wait_until 5 "the box for $frame did not close" not_shown bouncer "$box"
done

# The animation tries a frame every 100 ms, the game moves the ball 5 pixels every 30 ms:
# once the ball has gone 150 pixels sideways (or, when the game is over and the ball
# stands, after a second), each frame has been tried again at least twice, and no failure
# box may have come back (the game may have ended meanwhile).
travelled=0
ball_travelled() {
    local left
    screenshot "$work/ball.png"
    read -r left _ <<<"$(find_colour "$work/ball.png" "#00FF00")"
    [ -n "$left" ] || return 0
    travelled=$((travelled + (left > last ? left - last : last - left)))
    last=$left
    [ "$travelled" -ge 150 ] || [ -n "$(other_windows bouncer "$window")" ]
}
if [ -z "$game_over" ]; then
    screenshot "$work/ball.png"
    read -r last _ <<<"$(find_colour "$work/ball.png" "#00FF00")"
    [ -n "$last" ] || fail "no ball on screen"
    wait_until 10 "the ball did not move" ball_travelled
else
    sleep 1
fi
for box in $(other_windows bouncer "$window"); do
    text=$(copy_box_text "$box")
    [[ $text == *"Вы Проиграли!"* || $text == *"Вы Выиграли!"* ]] || fail "a box came back after it was ticked: $text"
    answer_box bouncer "$box"
    game_over=1
done
echo "the ball went $travelled pixels sideways with no failure box"

# The menu is reachable: right click, then "Выход", once the game is over.
[ -n "$game_over" ] || end_bouncer_game "$window"
leave_through_menu bouncer "$window" 340 200
expect_exit_0 Выход
echo "bouncer frames e2e: 3 passed, 0 failed"

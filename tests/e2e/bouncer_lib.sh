# bouncer's end-to-end helpers, over the shared ones of x11.sh. Sourced by its e2e scripts.
source "$(dirname "${BASH_SOURCE[0]}")/x11.sh"

# Waits for a bouncer game to end with its box and answers it: the paddle is parked at
# the window's far right, out of the ball's way, so the ball soon falls past it. No game
# tick runs after that, so no box comes up in the middle of what the test does next.
#   end_bouncer_game WINDOW
end_bouncer_game() {
    local x y w h box text
    read -r x y w h <<<"$(client_geometry "$1")"
    xdotool mousemove $((x + w - 1)) $((y + 200))
    box=$(wait_for_box bouncer "$1" 60) || fail "the game did not end within 60 s"
    text=$(copy_box_text "$box")
    [[ $text == *"Вы Проиграли!"* || $text == *"Вы Выиграли!"* ]] || fail "the game ended with: $text"
    answer_box bouncer "$box"
}

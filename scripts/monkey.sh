#!/usr/bin/env bash
# Drives one built program with random input under Xvfb and openbox for a given time:
# mouse moves, left and right clicks in its window, picks in its popup menus, random keys
# and typed text (Cyrillic too), answers to its message boxes; file dialogs are dismissed.
# The program is restarted whenever it exits. Records crashes (sanitizer reports, signals,
# non-zero exits), hangs (a key event its window has not handled after 5 s: see
# monkey/answers.c) and the
# program's resident memory over time. Not part of CI: a manual run.
#   scripts/monkey.sh PROGRAM SECONDS [BUILD]    (BUILD: build-sanitized by default)
# Writes its records to BUILD/monkey/PROGRAM/ and prints a summary; exits 1 on any finding.
# No pipefail: x11.sh ends pipes early on purpose (grep -q after xprop).
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=${1:?program} seconds=${2:?seconds} build=${3:-build-sanitized}
[[ $build = /* ]] || build=$root/$build
binary=$build/$program/$program
[ -x "$binary" ] || { echo "no $binary: build it first" >&2; exit 2; }
X11_INPUT=${X11_INPUT:-$build/tests/x11_input}
source "$root/tests/e2e/x11.sh"

out=$build/monkey/$program
rm -rf "$out"
mkdir -p "$out/reports" "$out/run"
cc -O2 -o "$out/answers" "$root/scripts/monkey/answers.c" -lX11 || exit 2
# The program runs in a folder holding every sample file, as if started from its own.
cp "$root"/assets/*.bmp "$root"/assets/*.wav "$root"/tiler/Image1.bmp "$out/run/"
export XDG_CONFIG_HOME=$out/config XDG_RUNTIME_DIR=$out/runtime SDL_AUDIODRIVER=dummy
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS="log_path=$out/reports/asan:detect_leaks=1"
export UBSAN_OPTIONS="log_path=$out/reports/ubsan:print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
start_desktop || exit 2
trap 'kill "${pid:-}" 2>/dev/null; stop_desktop' EXIT

log() { echo "$(date +%T) $*" | tee -a "$out/log.txt"; }

seed=${MONKEY_SEED:-$$}
RANDOM=$seed
texts=("Привет" "мир 12,5" "-3e5" "ЁЛКА ёлка" "0" "99999999999" "a=b" "[Size]" "1,5E-2" "abc" "Ъ;#" "  ")
keys=(Return Escape Tab shift+Tab space BackSpace Delete Up Down Left Right Home End Page_Up Page_Down
      F1 F2 F5 F10 a z 1 9 minus comma period ctrl+a ctrl+c ctrl+v ctrl+z alt+f Menu)
starts=0 crashes=0 hangs=0 peak=0 deadline=$((SECONDS + seconds))

start_program() {
    (cd "$out/run" && exec "$binary") >>"$out/program-output.txt" 2>&1 &
    pid=$!
    starts=$((starts + 1))
    window=$(wait_for_window "$program") || window=""
}

# Tells whether the main window is shown and a key sent to the program's windows stays
# unhandled for 5 s.
unanswered() {
    xwininfo -id "$window" 2>/dev/null | grep -q IsViewable \
        && ! "$out/answers" 5 "$window" $(other_windows "$program" "$window")
}

# Checks on the program: its exit, its answer to its windows' events, its memory.
check_program() {
    if ! kill -0 "$pid" 2>/dev/null; then
        local status=0
        wait "$pid" || status=$?
        if [ "$status" -ne 0 ]; then
            crashes=$((crashes + 1))
            if [ "$status" -gt 128 ]; then log "CRASH: signal $((status - 128))"; else log "CRASH: exit code $status"; fi
        else
            log "exited by itself (code 0); restarting"
        fi
        start_program
        return
    fi
    # An open popup menu holds the keyboard and leaves the key unanswered: one that stays
    # unanswered after Escape has closed any menu is a hang. A window no longer shown (its
    # program on the way out, as heropick is after Escape) is not asked.
    if [ -n "$window" ] && unanswered && { xdotool key Escape Escape Escape; sleep 0.5; unanswered; }; then
        hangs=$((hangs + 1))
        log "HANG: the program handled no event of its window within 5 s"
        screenshot "$out/hang-$hangs.png"
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        start_program
        return
    fi
    local rss
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    [ "${rss:-0}" -gt "$peak" ] && peak=$rss
    echo "$((seconds - (deadline - SECONDS))) $pid ${rss:-0}" >>"$out/rss.txt"
}

# Answers every window of the program other than its main one: a file dialog (a large
# window) is dismissed; a message box gets a random answer.
answer_boxes() {
    local box w h
    for box in $(other_windows "$program" "$window"); do
        read -r _ _ w h <<<"$(client_geometry "$box" 2>/dev/null)" || continue
        if [ "${w:-0}" -gt 420 ] && [ "${h:-0}" -gt 250 ]; then
            xdotool windowactivate --sync "$box" key Escape 2>/dev/null
        else
            case $((RANDOM % 4)) in
                0) xdotool windowactivate --sync "$box" key Return 2>/dev/null ;;
                1) xdotool windowactivate --sync "$box" key Escape 2>/dev/null ;;
                2) xdotool windowactivate --sync "$box" key space 2>/dev/null ;;
                3) xdotool windowactivate --sync "$box" key Tab Return 2>/dev/null ;;
            esac
        fi
    done
}

# One random action on the main window.
act() {
    local x y w h px py
    read -r x y w h <<<"$(client_geometry "$window" 2>/dev/null)" || return
    [ "${w:-0}" -gt 0 ] && [ "${h:-0}" -gt 0 ] || return
    px=$((x + RANDOM % w)) py=$((y + RANDOM % h))
    case $((RANDOM % 10)) in
        0 | 1) xdotool mousemove "$px" "$py" ;;
        2 | 3 | 4) xdotool mousemove "$px" "$py" click 1 ;;
        5) # a popup menu: open it and pick an entry with the arrow keys
            xdotool mousemove "$px" "$py" click 3
            sleep 0.3
            xdotool key $(printf 'Down %.0s' $(seq $((RANDOM % 4 + 1)))) Return ;;
        6 | 7) xdotool key "${keys[RANDOM % ${#keys[@]}]}" ;;
        8) xdotool type --delay 20 "${texts[RANDOM % ${#texts[@]}]}" ;;
        9) xdotool mousemove "$px" "$py" mousedown 1 mousemove $((x + RANDOM % w)) $((y + RANDOM % h)) mouseup 1 ;;
    esac 2>/dev/null
}

log "driving $binary for $seconds s (MONKEY_SEED=$seed repeats the choices)"
start_program
actions=0 last_check=0
while [ "$SECONDS" -lt "$deadline" ]; do
    if [ $((SECONDS - last_check)) -ge 2 ] || [ -z "$window" ]; then
        check_program
        last_check=$SECONDS
    fi
    answer_boxes
    [ -n "$window" ] && act
    actions=$((actions + 1))
    sleep 0.05
done
screenshot "$out/last.png"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null

reports=$(find "$out/reports" -type f | wc -l)
for report in "$out"/reports/*; do
    [ -f "$report" ] && { log "REPORT $report:"; grep -E "ERROR|SUMMARY|runtime error" "$report" | head -n 5; }
done
first=$(awk 'NR <= 30 {if ($3 > m) m = $3} END {print m + 0}' "$out/rss.txt" 2>/dev/null)
last=$(tail -n 30 "$out/rss.txt" 2>/dev/null | awk '{if ($3 > m) m = $3} END {print m + 0}')
log "$program: $seconds s, $actions actions, $starts starts, $crashes crashes, $hangs hangs," \
    "$reports sanitizer reports, peak RSS $((peak / 1024)) MB (first minute $((first / 1024)) MB, last minute $((last / 1024)) MB)"
[ "$crashes" -eq 0 ] && [ "$hangs" -eq 0 ] && [ "$reports" -eq 0 ]

#!/usr/bin/env bash
# Uses wavplayer as a user would: the real program in a real window under Xvfb and openbox,
# "Грузить" clicked with xdotool, SDL's disk output standing in for the sound card; checks
# the error box, the samples the device was handed, and how the program ends.
set -euo pipefail
program=$1
assets=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup wavplayer
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/device.raw"

# Starts the program in $work and finds its window; sets pid, window, cx and cy.
start_player() {
    cd "$work"
    # A script's background commands start with SIGINT ignored; a user's program would not.
    env --default-signal=INT "$program" 2>"$work/stderr.txt" &
    pid=$!
    window=$(timeout 10 xdotool search --sync --onlyvisible --class wavplayer | head -n 1) || fail "no window appeared"
    read -r cx cy _ _ <<<"$(client_geometry "$window")"
}

click_load() {
    xdotool mousemove $((cx + 37)) $((cy + 12)) click 1
}

# Prints how many of the chime's samples the device was handed, or "differs".
heard() {
    python3 - "$assets/1.wav" "$SDL_DISKAUDIOFILE" <<'EOF'
import array, sys, wave
def trim(values):
    first = next((i for i, v in enumerate(values) if v != 0), len(values))
    last = next((i for i, v in enumerate(reversed(values)) if v != 0), len(values))
    return values[first:len(values) - last]
with wave.open(sys.argv[1]) as chime:
    assert chime.getsampwidth() == 2 and chime.getnchannels() == 1
    pcm = array.array("h", chime.readframes(chime.getnframes()))
expected = trim([v / 32768 for v in pcm])
output = array.array("f")
try:
    with open(sys.argv[2], "rb") as raw:
        data = raw.read()
    output.frombytes(data[:len(data) // 4 * 4])
except FileNotFoundError:
    pass
got = trim(list(output))
print(len(got) if got == expected[:len(got)] else "differs")
EOF
}

start_desktop

# No "1.wav" yet: the click shows one error box naming the file, and nothing plays.
start_player
sleep 0.3
click_load
box=$(timeout 10 bash -c "until xdotool search --onlyvisible --class wavplayer | grep -vx $window; do sleep 0.1; done" | head -n 1) \
    || fail "no error box after a click without 1.wav"
sleep 0.3
screenshot "$shots/wavplayer-error.png"
echo "error box $box: $(xdotool getwindowname "$box")"
[ "$(heard)" = 0 ] || fail "something played without a file"
xdotool windowactivate --sync "$box" key Return
sleep 0.3
xdotool search --onlyvisible --class wavplayer | grep -qx "$box" && fail "the error box did not close"

# The file appears; the next click plays it to the end, sample for sample.
cp "$assets/1.wav" "$work/"
click_load
sleep 0.4
screenshot "$shots/wavplayer-playing.png"
for _ in $(seq 100); do
    count=$(heard)
    [ "$count" != differs ] || fail "the device was handed samples that are not the chime's"
    [ "$count" -lt 70000 ] || break
    sleep 0.1
done
echo "the device was handed $count samples of the chime"
[ "$count" -ge 70000 ] || fail "the chime did not play through"

# Closing the window while the chime plays ends the program at once with code 0.
click_load
sleep 0.3
[ "$(heard)" -gt 0 ] || fail "the second click did not play"
closed=$(date +%s%N)
xdotool windowactivate --sync "$window" key alt+F4
status=0
wait "$pid" || status=$?
echo "ended $(( ($(date +%s%N) - closed) / 1000000 )) ms after Alt+F4 while playing, code $status"
[ "$status" = 0 ] || fail "exit code $status after closing the window"

# SIGTERM and SIGINT end a playing program as they end any other.
for signal in TERM INT; do
    start_player
    click_load
    sleep 0.3
    kill -s "$signal" "$pid"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "SIG$signal did not end the program while it played"
    status=0
    wait "$pid" || status=$?
    echo "SIG$signal ended the playing program (status $status)"
done
echo "wavplayer e2e: 1 passed, 0 failed"

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

# Starts the program in $work and finds its window; sets pid and window.
start_player() {
    cd "$work"
    # A script's background commands start with SIGINT ignored; a user's program would not.
    env --default-signal=INT "$program" 2>"$work/stderr.txt" &
    pid=$!
    window=$(wait_for_window wavplayer) || fail "no window appeared"
}

click_load() {
    click_at "$window" 37 12
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

# Tells whether the device was handed at least COUNT of the chime's samples; fails the test
# when it was handed others.
heard_at_least() {
    local count
    count=$(heard)
    [ "$count" != differs ] || fail "the device was handed samples that are not the chime's"
    [ "$count" -ge "$1" ]
}

start_desktop

# No "1.wav" yet: the click shows one error box naming the file, and nothing plays.
start_player
# Enter at start goes to the player, which holds the first focus, not to «Грузить».
press "$window" Return
[ -z "$(other_windows wavplayer "$window")" ] || fail "Enter at start pressed «Грузить»"
click_load
box=$(wait_for_box wavplayer "$window") || fail "no error box after a click without 1.wav"
screenshot "$shots/wavplayer-error.png"
echo "error box $box: $(xdotool getwindowname "$box")"
[ "$(heard)" = 0 ] || fail "something played without a file"
answer_box wavplayer "$box"

# The file appears; the next click plays it to the end, sample for sample.
cp "$assets/1.wav" "$work/"
click_load
screenshot "$shots/wavplayer-playing.png"
wait_until 10 "the chime did not play through" heard_at_least 70000
echo "the device was handed $(heard) samples of the chime"

# Closing the window while the chime plays ends the program at once with code 0.
click_load
wait_until 10 "the second click did not play" heard_at_least 1
closed=$(date +%s%N)
close_window "$window"
status=0
wait "$pid" || status=$?
echo "ended $(( ($(date +%s%N) - closed) / 1000000 )) ms after its window was closed while playing, code $status"
[ "$status" = 0 ] || fail "exit code $status after closing the window"

# SIGTERM and SIGINT end a playing program as they end any other.
for signal in TERM INT; do
    start_player
    click_load
    wait_until 10 "the click did not play" heard_at_least 1
    kill -s "$signal" "$pid"
    wait_until 5 "SIG$signal did not end the program while it played" eval '! running'
    status=0
    wait "$pid" || status=$?
    echo "SIG$signal ended the playing program (status $status)"
done
echo "wavplayer e2e: 1 passed, 0 failed"

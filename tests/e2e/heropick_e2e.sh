#!/usr/bin/env bash
# Uses heropick as a user would, under Xvfb and openbox: presses every key of a 105-key
# keyboard by its place (its X key code), under a US and a Russian layout, with the keypad
# typing navigation keys (Num Lock off, or Shift held) and digits (Num Lock on), and reads
# the code the field «Уровень» shows off the screen against the same texts drawn by the
# text reference; clicks change nothing, and Escape ends the program.
set -euo pipefail
program=$1
reference_tool=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup heropick

# "keys:text": what xdotool presses (X key codes, by place) and what the field must show.
# Escape (9) is left for last: it ends the program. Print Screen (107) is the window
# manager's. Neighbours show different texts, so each press is seen to arrive.
main_keys=(
    10:49 11:50 12:51 13:52 14:53 15:54 16:55 17:56 18:57 19:48 20:189 21:187 22:8 23:9
    24:81 25:87 26:69 27:82 28:84 29:89 30:85 31:73 32:79 33:80 34:219 35:221 36:13 37:17
    38:65 39:83 40:68 41:70 42:71 43:72 44:74 45:75 46:76 47:186 48:222 49:192 50:16 51:220
    52:90 53:88 54:67 55:86 56:66 57:78 58:77 59:188 60:190 61:191 62:16 64:18
    "65:Вы нажали пробел!" 66:20 67:112 68:113 69:114 70:115 71:116 72:117 73:118 74:119
    75:120 76:121 78:145 94:226 95:122 96:123 105:17 108:18 110:36 111:38 112:33 113:37
    114:39 115:35 116:40 117:34 118:45 119:46 127:19 133:91 134:92 135:93
    191:124 192:125 193:126 194:127 195:128 196:129 197:130 198:131 199:132 200:133 201:134 202:135
)
keypad_navigation=(63:106 79:36 80:38 81:33 82:109 83:37 84:12 85:39 86:107 87:35 88:40 89:34 90:45 91:46 104:13 106:111)
keypad_digits=(79:103 80:104 81:105 83:100 84:101 85:102 87:97 88:98 89:99 90:96 91:110)
shifted_digits=(shift+79:36 shift+84:12 shift+90:45 shift+91:46)
# Num Lock (77) turns the keypad to digits and back.
sequence=("${main_keys[@]}" "${keypad_navigation[@]}" 77:144 "${keypad_digits[@]}" "${shifted_digits[@]}" 77:144)

# Each text once in the reference, the empty field first (the arrays' keys are the texts
# after an "=", as a key cannot be empty).
declare -A reference_index=(["="]=0)
references=("225x25:")
for row in "${sequence[@]}"; do
    text=${row#*:}
    [ -n "${reference_index[=$text]+set}" ] && continue
    reference_index[=$text]=${#references[@]}
    references+=("225x25:$text")
done

start_desktop

# The inner area of an edit (its frame left out), reduced to ink and paper, as a pixel
# signature: "signature SCREENSHOT X Y" (X Y: the edit's top-left on the screen; the
# screenshot png:- is read from the standard input).
inner=219x19
signature() {
    convert "$1" -crop "$inner+$(($2 + 3))+$(($3 + 3))" +repage -colorspace gray -threshold 85% -format '%#' info:
}

start_text_reference "$reference_tool" --disabled "${references[@]}" || fail "the text reference did not start"
screenshot "$work/reference.png"
kill "$REFERENCE_PID"
read -r rx ry _ _ <<<"$REFERENCE_GEOMETRY"
declare -A expected
for text in "${!reference_index[@]}"; do
    i=${reference_index[$text]}
    expected[$text]=$(signature "$work/reference.png" $((rx + 10 + 245 * (i / 24))) $((ry + 10 + 40 * (i % 24))))
done

cd "$work"
"$program" &
pid=$!
window=$(wait_for_window heropick) || fail "no window appeared"
read -r cx cy _ _ <<<"$(client_geometry "$window")"
# The field: GroupBox1 at (80, 128), LabeledEdit1 at (8, 64) inside it.
fx=$((cx + 88)) fy=$((cy + 192))

# The window asks for no title-bar buttons: its Motif hints allow moving and resizing only.
hints=$(xprop -id "$window" _MOTIF_WM_HINTS | sed 's/.*= //')
[ "$hints" = "0x1, 0x6, 0x0, 0x0, 0x0" ] || fail "the window asks for title-bar functions: $hints"

# Only the main window shows: the hero dialog is never on screen.
[ "$(xdotool search --onlyvisible --class heropick | wc -l)" = 1 ] || fail "more than one window shows"

# Tells, once the program has handled every key pressed so far, whether the field shows a
# text; fails naming what was pressed.
expect_field() {
    local text=$1 what=$2
    settle "$window"
    [ "$(import -window root png:- | signature png:- $fx $fy)" = "${expected[=$text]}" ] && return 0
    screenshot "$shots/heropick-keys.png"
    fail "after $what the field does not show «$text»"
}

focus "$window"
expect_field "" "the start"
for layout in us ru; do
    setxkbmap -layout "$layout"
    for row in "${sequence[@]}"; do
        xdotool key "${row%%:*}"
        expect_field "${row#*:}" "key ${row%%:*} under the $layout layout"
    done
    echo "$layout layout: ${#sequence[@]} presses gave their codes"
done

# A click anywhere changes nothing: the field still shows the last key's code.
click_at "$window" 200 220
click_at "$window" 30 30
expect_field 144 "two clicks"

# Escape ends the program with code 0.
press_closing "$window" Escape
expect_exit_0 Escape
echo "heropick e2e: 1 passed, 0 failed"

#!/usr/bin/env bash
# Uses hitcalc as a user would, under Xvfb and openbox: numbers typed into the edits with
# xdotool, the check box ticked, both buttons pressed, the results and the message boxes
# read back by copying their text.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11.sh"

e2e_setup hitcalc

start_desktop
cd "$work"
"$program" &
pid=$!
window=$(wait_for_window hitcalc) || fail "no window appeared"
passed=0

# Edits by their left-top corner in the window: a click lands inside each.
type_into() { type_text "$window" $(($1 + 20)) $(($2 + 10)) "$3"; }
type_into 168 16 100   # life
type_into 168 72 15    # damage
type_into 168 128 5    # armour
type_into 168 184 12   # attack
type_into 168 240 7    # defence
type_into 168 320 3    # moves
itog1() { copy_text "$window" 560 114; }
itog2() { copy_text "$window" 556 258; }

# The buttons are greyed out until the check box is clicked.
click_at "$window" 560 68
[ "$(itog1)" = "Результат" ] || fail "a greyed-out button computed $(itog1)"
click_at "$window" 168 388
passed=$((passed + 1))

click_at "$window" 560 68
[ "$(itog1)" = "70" ] || fail "Считать shows $(itog1), not 70"
passed=$((passed + 1))

# With attack 12 and defence 7 a hit is possible; the first draw of a run halves the result.
click_at "$window" 556 200
box=$(wait_for_box hitcalc "$window") || fail "no verdict box"
verdict=$(copy_box_text "$box")
[[ $verdict == *"попасть можно"* ]] || fail "the verdict box says: $verdict"
screenshot "$shots/hitcalc.png"
answer_box hitcalc "$box"
[ "$(itog2)" = "35" ] || fail "Считать, учитывая защиту shows $(itog2), not 35"
passed=$((passed + 1))

# Letters in the attack: one error box naming the text, no verdict, the result kept.
type_into 168 184 "двенадцать"
click_at "$window" 556 200
box=$(wait_for_box hitcalc "$window") || fail "no error box for letters"
message=$(copy_box_text "$box")
[[ $message == *"«двенадцать»"* ]] || fail "the error box says: $message"
answer_box hitcalc "$box"
[ -z "$(other_windows hitcalc "$window")" ] || fail "a verdict followed the error"
[ "$(itog2)" = "35" ] || fail "a failed press changed the result to $(itog2)"
passed=$((passed + 1))

close_window "$window"
expect_exit_0 "its window closed"
passed=$((passed + 1))
echo "hitcalc e2e: $passed passed, 0 failed"

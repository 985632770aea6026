#!/usr/bin/env bash
# Drives the real editor with real input: with a modified map, Alt+O asks
# whether to save; Cancel keeps everything, No goes on to the open-map
# dialog; closing asks again and No ends the program. Nothing is written.
# Run by CTest as  editor_discard_e2e.sh MAPTESK MAPTESK_CLI
set -euo pipefail
source "$(dirname "$0")/e2e_lib.sh"

map=$work/game/SCENARIO/ARDEN.MAP
start_editor "$map"
before=$(ls -l --time-style=full-iso "$work/game/SCENARIO" "$work/game/MAP" | md5sum)

xdotool mousemove --window "$window" 300 400
sleep 0.3
xdotool click 3  # Clear on an Ocean hex: the map is modified
sleep 0.3
has_window "ARDEN\.MAP\* - Tesk Map Tool" || fail "the title shows no modified mark"

xdotool key alt+o
wait_window "^Tesk Map Tool$" >/dev/null || fail "Alt+O did not ask about the changes"
xdotool key Escape
sleep 0.5
has_window "^Tesk Map Tool$" && fail "the question stayed after Cancel"
has_window "Open MAP file" && fail "Cancel went on to the open-map dialog"
has_window "ARDEN\.MAP\* - Tesk Map Tool" || fail "Cancel lost the modified map"

xdotool key alt+o
wait_window "^Tesk Map Tool$" >/dev/null || fail "the second Alt+O did not ask"
xdotool key n
wait_window "Open MAP file" >/dev/null || fail "No did not go on to the open-map dialog"
xdotool key Escape
sleep 0.5
has_window "Open MAP file" && fail "the open-map dialog stayed"

# The close box's way out asks too; No ends the program.
xdotool key alt+x
wait_window "^Tesk Map Tool$" >/dev/null || fail "closing did not ask about the changes"
xdotool key n
wait_exit "No did not end the program"
after=$(ls -l --time-style=full-iso "$work/game/SCENARIO" "$work/game/MAP" | md5sum)
[ "$before" = "$after" ] || fail "a file was written or removed"
echo "1 passed, 0 failed"

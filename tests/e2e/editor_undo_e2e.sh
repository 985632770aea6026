#!/usr/bin/env bash
# Drives the real editor with real input: paints a hex, takes it back with
# Ctrl+Z, paints another hex and saves with Ctrl+S; only the second change
# is in the file. Run by CTest as  editor_undo_e2e.sh MAPTESK MAPTESK_CLI
set -euo pipefail
source "$(dirname "$0")/e2e_lib.sh"

map=$work/game/SCENARIO/ARDEN.MAP
"$cli" save "$map" "$work/reference.MAP" --clean >/dev/null
start_editor "$map"

point_at_sea
choose_mountain
xdotool click 3
sleep 0.3
xdotool key ctrl+z
sleep 0.3
has_window "ARDEN\.MAP - Tesk Map Tool" || fail "undoing the only change left the map modified"
xdotool mousemove --window "$window" 700 300
sleep 0.3
xdotool click 3
sleep 0.3
xdotool key ctrl+s
wait_window "^ARDEN\.MAP - Tesk Map Tool" >/dev/null || fail "Ctrl+S did not save"

# One byte differs from the map saved clean: a terrain word's low byte, now
# Mountain (6), and not hex (7,7)'s, whose record starts at byte 2264.
diff=$( (cmp -l "$work/reference.MAP" "$map" || true) | tr -s ' ' | sed 's/^ //')
[ "$(echo "$diff" | wc -l)" = 1 ] || fail "more than one byte changed: $diff"
read -r offset _ new <<<"$diff"
[ "$new" = 6 ] || fail "the changed byte is not Mountain: $diff"
[ $(((offset - 1 - 10) % 7)) = 0 ] || fail "not a terrain byte: $diff"
[ "$offset" != 2265 ] || fail "the undone change is in the file"

xdotool key alt+x
wait_exit "Alt+X did not close the saved editor"
echo "1 passed, 0 failed"

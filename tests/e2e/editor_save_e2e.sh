#!/usr/bin/env bash
# Drives the real editor with real input: paints a hex's terrain and its
# roads with the keys and the right button, saves through the File menu and
# the map-file dialog, and checks the written file's bytes. Run by CTest as
#   editor_save_e2e.sh MAPTESK MAPTESK_CLI
set -euo pipefail
source "$(dirname "$0")/e2e_lib.sh"

map=$work/game/SCENARIO/ARDEN.MAP
original=$(md5sum < "$map")
start_editor "$map"

# Terrain: '+' six times steps the terrain to set from Clear to Mountain (6);
# the right button sets it on the hex under the pointer, (7,7), an Ocean hex.
point_at_sea
choose_mountain
xdotool click 3
sleep 0.3
# Roads: F6, then '8' off the map flips N in the roads to set; set them.
xdotool key F6
xdotool mousemove --window "$window" 1200 900
sleep 0.3
xdotool key 8
xdotool mousemove --window "$window" 300 400
sleep 0.3
xdotool click 3
sleep 0.3
has_window "ARDEN\.MAP\* - Tesk Map Tool" || fail "the title shows no modified mark"

# File > Save MAP as... (the ninth item), then the map-file dialog.
xdotool mousemove --window "$window" 20 8 click 1
sleep 0.6
for _ in $(seq 9); do xdotool key Down; done
xdotool key Return
wait_window "Select MAP file to Save As" >/dev/null || fail "no map-file dialog"
xdotool type --delay 20 "SAVED.MAP"
xdotool key Return
for _ in $(seq 50); do [ -f "$work/game/SCENARIO/SAVED.MAP" ] && break; sleep 0.1; done
[ -f "$work/game/SCENARIO/SAVED.MAP" ] || fail "nothing was saved"
wait_window "^SAVED\.MAP - Tesk Map Tool" >/dev/null || fail "the title does not name the saved map"

# Against the map saved clean by the CLI, only hex (7,7) differs: its record
# starts at byte 10 + (7 * 45 + 7) * 7 = 2264; terrain 9 -> 6, roads 0 -> N.
"$cli" save "$map" "$work/reference.MAP" --clean >/dev/null
diff=$( (cmp -l "$work/reference.MAP" "$work/game/SCENARIO/SAVED.MAP" || true) | tr -s ' ' |
  sed 's/^ //')
expected=$'2265 11 6\n2267 0 1'
[ "$diff" = "$expected" ] || fail "unexpected bytes (offset, old, new in octal): $diff"
[ "$(md5sum < "$map")" = "$original" ] || fail "ARDEN.MAP changed"

# Saved: Alt+X closes without a question.
xdotool key alt+x
wait_exit "Alt+X did not close the saved editor"
echo "1 passed, 0 failed"

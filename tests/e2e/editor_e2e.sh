#!/usr/bin/env bash
# Drives the real editor in a real X server with real input events: opens a
# sample map, paints a hex with the right button, switches to a full-screen
# mode and back, and closes with Alt+X. Run by CTest as
#   editor_e2e.sh MAPTESK MAPTESK_CLI
set -euo pipefail
source "$(dirname "$0")/e2e_lib.sh"

start_editor "$work/game/SCENARIO/ARDEN.MAP"

# The modified marks stand at the bottom of the right panel.
shot before
xdotool mousemove --window "$window" 300 400
sleep 0.3
xdotool click 1 click 3
sleep 0.5
shot painted
[ "$(mean before 116x40+1164+950)" != "$(mean painted 116x40+1164+950)" ] ||
  fail "no modified mark after painting a hex"

# F11: the 800 x 600 frame fills the screen; its title strip is blue.
xdotool key F11
sleep 1
shot full
case "$(pixel full 640,60)" in
  "srgb(0,87,242)"|"srgba(0,87,242,1)") ;;
  *) fail "no title strip in full screen: $(pixel full 640,60)" ;;
esac
xdotool key F12
sleep 1
shot window
case "$(pixel window 640,60)" in
  "srgb(0,87,242)"|"srgba(0,87,242,1)") fail "still full screen after F12" ;;
esac

# The painted map is modified: Alt+X asks first, and No closes.
xdotool key alt+x
wait_window "^Tesk Map Tool$" >/dev/null || fail "Alt+X did not ask about the changes"
xdotool key n
wait_exit "Alt+X did not close the editor"
echo "1 passed, 0 failed"

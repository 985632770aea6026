#!/usr/bin/env bash
# Drives the real editor with real input: a fill of the sea and a 7-hex
# brush stroke on land, both undone and redone, then saved with Ctrl+S; the
# file's bytes hold exactly those changes. Run by CTest as
#   editor_tools_e2e.sh MAPTESK MAPTESK_CLI
set -euo pipefail
source "$(dirname "$0")/e2e_lib.sh"

map=$work/game/SCENARIO/ARDEN.MAP
"$cli" save "$map" "$work/reference.MAP" --clean >/dev/null
start_editor "$map"

# Fill: the terrain to set stepped to Mountain (6), F over the sea.
point_at_sea
choose_mountain
xdotool key F
sleep 0.3
# Brush: ']' makes it 7 hexes; Forest (3) on a patch of open land.
xdotool key bracketright minus minus minus
xdotool mousemove --window "$window" 700 300
sleep 0.3
xdotool click 3
sleep 0.3
has_window "ARDEN\.MAP\* - Tesk Map Tool" || fail "no modified mark after the tools"
xdotool key ctrl+z ctrl+z
sleep 0.5
has_window "ARDEN\.MAP - Tesk Map Tool" || fail "two undos did not take both tools back"
xdotool key ctrl+y ctrl+y
sleep 0.3
xdotool key ctrl+s
wait_window "^ARDEN\.MAP - Tesk Map Tool" >/dev/null || fail "Ctrl+S did not save"

# Against the map saved clean, only terrain bytes changed: to Mountain over
# the whole sea, and to Forest on the seven hexes of the brush.
diff=$( (cmp -l "$work/reference.MAP" "$map" || true) | tr -s ' ' | sed 's/^ //')
[ -n "$diff" ] || fail "nothing changed in the file"
mountains=0
forests=0
while read -r offset old new; do
  [ $(((offset - 1 - 10) % 7)) = 0 ] || fail "not a terrain byte at $offset"
  case "$new" in
    6) [ "$old" = 11 ] || fail "a filled hex was not sea: $offset $old $new"
       mountains=$((mountains + 1)) ;;
    3) forests=$((forests + 1)) ;;
    *) fail "unexpected terrain $new at $offset" ;;
  esac
done <<<"$diff"
[ "$forests" = 7 ] || fail "the brush set $forests hexes, not 7"
sea=$("$cli" info "$work/reference.MAP" --json | sed 's/.*"9": \([0-9]*\).*/\1/')
[ "$mountains" -gt 100 ] && [ "$mountains" -le "$sea" ] ||
  fail "the fill changed $mountains of $sea sea hexes"
ocean_left=$("$cli" info "$map" --json | sed -n 's/.*"9": \([0-9]*\).*/\1/p')
echo "fill: $mountains sea hexes; brush: $forests; sea left: ${ocean_left:-0}"

xdotool key alt+x
wait_exit "Alt+X did not close the saved editor"
echo "1 passed, 0 failed"

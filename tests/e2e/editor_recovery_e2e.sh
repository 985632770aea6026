#!/usr/bin/env bash
# Drives the real editor with real input: fifty changes to one hex, then the
# editor is killed (SIGKILL); started again on the same map it offers the
# recovery copy, Yes restores it, and Ctrl+S saves what was restored.
# Run by CTest as  editor_recovery_e2e.sh MAPTESK MAPTESK_CLI
set -euo pipefail
source "$(dirname "$0")/e2e_lib.sh"

map=$work/game/SCENARIO/ARDEN.MAP
original=$(md5sum <"$map")
start_editor "$map"

# '+' then 'T', fifty times: the hex under the pointer, (7,7), ends as
# terrain 50 mod 20 = 10 (River), one change each time.
point_at_sea
for _ in $(seq 50); do xdotool key --delay 15 plus T; done
copy=
for _ in $(seq 50); do
  copy=$(find "$work/data" -name map.MAP 2>/dev/null | head -n 1)
  [ -n "$copy" ] && break
  sleep 0.1
done
[ -n "$copy" ] || fail "no recovery copy after fifty changes"
case "$copy" in "$work/game"*) fail "the copy is beside the game's files" ;; esac

kill -9 "$editor_pid"
wait "$editor_pid" 2>/dev/null || true
editor_pid=
[ "$(md5sum <"$map")" = "$original" ] || fail "the map file changed without a save"

start_editor "$map"
wait_window "^Tesk Map Tool$" >/dev/null || fail "no question about the recovery copy"
xdotool key y
sleep 0.5
has_window "ARDEN\.MAP\* - Tesk Map Tool" || fail "the restored map is not marked modified"
xdotool mousemove --window "$window" 600 500
xdotool click 1
xdotool key ctrl+s
wait_window "^ARDEN\.MAP - Tesk Map Tool" >/dev/null || fail "Ctrl+S did not save"
terrain=$(od -An -tu1 -j2264 -N1 "$map" | tr -d ' ')
[ "$terrain" = 10 ] || fail "hex (7,7) holds terrain $terrain, not the restored 10"
[ -z "$(find "$work/data" -name map.MAP)" ] || fail "the copy stayed after the save"

xdotool key alt+x
wait_exit "Alt+X did not close the editor"
echo "1 passed, 0 failed"

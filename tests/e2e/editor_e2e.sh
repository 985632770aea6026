#!/usr/bin/env bash
# Drives the real editor in a real X server with real input events: opens a
# sample map, paints a hex with the right button, switches to a full-screen
# mode and back, and closes with Alt+X. Run by CTest as
#   editor_e2e.sh MAPTESK MAPTESK_CLI
# Skips (exit 77) when Xvfb, xdotool or ImageMagick are missing.
set -euo pipefail
editor=$1
cli=$2
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
display=:$((90 + RANDOM % 400))
cleanup() {
  [ -n "${editor_pid:-}" ] && kill "$editor_pid" 2>/dev/null || true
  [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$cli" sample "$work/game" >/dev/null
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
x_pid=$!
export DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
unset QT_QPA_PLATFORM

"$editor" "$work/game/SCENARIO/ARDEN.MAP" &
editor_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name "Tesk Map Tool" | head -n 1)
sleep 1

shot() { import -window root "$work/$1.png"; }
# The mean brightness of a part of the screen.
mean() { convert "$work/$1.png" -crop "$2" -colorspace gray -format "%[fx:mean]" info:; }
pixel() { convert "$work/$1.png" -format "%[pixel:p{$2}]" info:; }
fail() { echo "FAILED: $*"; exit 1; }

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

xdotool key alt+x
for _ in $(seq 50); do kill -0 "$editor_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$editor_pid" 2>/dev/null && fail "Alt+X did not close the editor"
editor_pid=
echo "1 passed, 0 failed"
